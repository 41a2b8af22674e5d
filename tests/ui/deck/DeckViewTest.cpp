#include "DeckViewFixture.h"

namespace {

TEST_F(DeckViewTest, TheWallpaperTintColoursTheGlassTheBorderAndTheTintedChipOnlyWithChameleonGlass)
{
    makeView();
    m_view.reset();
    PanelChromeState chrome;
    PanelRootView root(
        {{*m_store, *m_settings, m_names, *m_starterHint, *m_editMode, m_hover, *m_icons, m_finish, m_font,
          m_music, m_alerts, m_frames, *m_deal, *m_tileState, *m_artwork, *m_band, macWordings()},
         chrome},
        true);
    m_settings->setBackgroundOpacity(0.5);
    m_settings->setChameleonGlass(true);
    const QColor accent = root.chip().tintColour();
    const auto glassAt = [&root] {
        QImage image(root.deck().size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        root.deck().render(&image);
        return image.pixelColor(4, image.height() / 2);
    };
    const QColor untinted = glassAt();

    chrome.setTint(0x2525B8);
    EXPECT_EQ(root.deck().borderColour(), DeckPaint::white(0.1 * 0.5)) << "the tint did not fade in";
    EXPECT_TRUE(root.deck().isAnimating());
    m_frames.step(TintFade::seconds);
    EXPECT_FALSE(root.deck().isAnimating());
    QColor border(0x25, 0x25, 0xB8);
    border.setAlphaF(0.45f * 0.5f);
    EXPECT_EQ(root.deck().borderColour(), border);
    EXPECT_EQ(root.chip().tintColour(), QColor(0x25, 0x25, 0xB8));
    EXPECT_GT(glassAt().blue(), untinted.blue() + 20);

    m_settings->setChameleonGlass(false);
    EXPECT_EQ(root.deck().borderColour(), DeckPaint::white(0.1 * 0.5));
    EXPECT_EQ(root.chip().tintColour(), accent);
    EXPECT_EQ(glassAt(), untinted);

    m_settings->setChameleonGlass(true);
    chrome.setTint(std::nullopt);
    m_frames.step(TintFade::seconds);
    EXPECT_EQ(root.deck().borderColour(), DeckPaint::white(0.1 * 0.5));
}

struct PaintCase {
    const char* name;
    int columns;
    TileSizeOption size;
};

class DeckViewPainting : public DeckViewTest, public ::testing::WithParamInterface<PaintCase> {};

TEST_P(DeckViewPainting, DrawsTilesOutlinesAndDotsInsideTheRoundedDeck)
{
    DeckView& view = makeView(GetParam().columns, GetParam().size);
    QDir().mkpath(m_paths.iconsDir());
    QImage blue(64, 64, QImage::Format_ARGB32);
    blue.fill(QColor(0, 0, 255));
    ASSERT_TRUE(blue.save(m_paths.iconsDir() + QStringLiteral("/plate.png")));
    Tile plate = snippetTile(QStringLiteral("plate"));
    plate.icon = TileIcon{TileIcon::Custom{QStringLiteral("plate.png")}};
    m_store->set(builderTile(QStringLiteral("Red"), QStringLiteral("#FF2020")), 0, 0);
    m_store->set(plate, 0, 2);
    m_store->addPage();
    m_store->goToPage(0);
    runFrames();

    const QImage image = rendered();
    const DeckGeometry geometry = view.deckGeometry();
    const double unit = geometry.unit();

    // The builder plate, above its glyph.
    const QColor red = image.pixelColor(slot(0).center().toPoint() - QPoint(0, static_cast<int>(30 * unit)));
    EXPECT_GT(red.red(), 180);
    EXPECT_LT(red.green(), 90);
    const QColor plateColour =
        image.pixelColor(slot(2).center().toPoint() + QPoint(0, static_cast<int>(25 * unit)));
    EXPECT_GT(plateColour.blue(), 180);
    EXPECT_LT(plateColour.red(), 90);

    // The dashed outline of the empty tile 1 along its straight top edge: some pixels are dashes, some gaps.
    const QRectF empty = slot(1);
    const int edgeY = static_cast<int>(empty.top());
    int brightest = 0;
    int darkest = 255;
    for (int x = static_cast<int>(empty.left() + 22 * unit); x < static_cast<int>(empty.right() - 22 * unit);
         ++x) {
        const int level = image.pixelColor(x, edgeY).red();
        brightest = std::max(brightest, level);
        darkest = std::min(darkest, level);
    }
    EXPECT_GT(brightest - darkest, 25);

    const std::vector<DeckGeometry::RowItem> row = geometry.rowItems();
    ASSERT_EQ(row.size(), 4U);
    const QColor current = image.pixelColor(row[1].rect.center().toPoint());
    const QColor other = image.pixelColor(row[2].rect.center().toPoint());
    EXPECT_GT(current.red(), other.red() + 60);

    for (const QPoint corner : {QPoint(1, 1), QPoint(image.width() - 2, 1), QPoint(1, image.height() - 2),
                                QPoint(image.width() - 2, image.height() - 2)})
        EXPECT_EQ(image.pixelColor(corner).alpha(), 0) << corner.x() << "," << corner.y();
    EXPECT_GT(image.pixelColor(image.width() / 2, 2).alpha(), 100);

    view.setOpaque(true);
    EXPECT_EQ(rendered().pixelColor(1, 1).alpha(), 255);
}

INSTANTIATE_TEST_SUITE_P(Grids, DeckViewPainting,
                         ::testing::Values(PaintCase{"regular3x3", 3, TileSizeOption::regular},
                                           PaintCase{"large4x3", 4, TileSizeOption::large}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PressCase {
    const char* name;
    QPointF movement;
    bool clicks;
};

class DeckViewPress : public DeckViewTest, public ::testing::WithParamInterface<PressCase> {};

TEST_P(DeckViewPress, InEditModeAMoveOfMoreThanThreePointsStartsADrag)
{
    makeView();
    m_store->set(snippetTile(QStringLiteral("a")), 0, 4);
    m_editMode->setEditing(true);
    QSignalSpy activated(m_view.get(), &DeckView::tileActivated);
    std::optional<int> dragSource;
    QObject::connect(m_editMode.get(), &EditModeState::dragChanged, [&] {
        if (m_editMode->isDragging())
            dragSource = m_editMode->dragSourceIndex();
    });

    const QPointF start = slot(4).center();
    mouse(QEvent::MouseButtonPress, start, Qt::LeftButton);
    mouse(QEvent::MouseMove, start + GetParam().movement, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, start + GetParam().movement, Qt::NoButton);

    EXPECT_EQ(activated.count(), GetParam().clicks ? 1 : 0);
    EXPECT_EQ(dragSource, GetParam().clicks ? std::nullopt : std::optional(4));
    EXPECT_FALSE(m_editMode->isDragging());
}

INSTANTIATE_TEST_SUITE_P(Movements, DeckViewPress,
                         ::testing::Values(PressCase{"threeAcross", {3, 0}, true},
                                           PressCase{"justUnderThreeDiagonally", {2.1, 2.1}, true},
                                           PressCase{"fourAcross", {4, 0}, false},
                                           PressCase{"overThreeDiagonally", {2.2, 2.2}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeckViewTest, OutsideEditModeAMovedPressStillClicksItsTile)
{
    makeView();
    QSignalSpy activated(m_view.get(), &DeckView::tileActivated);
    const QPointF start = slot(5).center();
    mouse(QEvent::MouseButtonPress, start, Qt::LeftButton);
    mouse(QEvent::MouseMove, start + QPointF(30, 0), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, start + QPointF(30, 0), Qt::NoButton);
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(activated.at(0), (QVariantList{0, 5}));
    EXPECT_FALSE(m_editMode->isDragging());
}

TEST_F(DeckViewTest, APressOrHoverSetsTheTilesSpringsGoingAndAnIdleDeckDrawsNoFrames)
{
    makeView();
    (void)rendered();
    EXPECT_FALSE(m_frames.isTicking());

    mouse(QEvent::MouseMove, slot(0).center(), Qt::NoButton);
    mouse(QEvent::MouseButtonPress, slot(0).center(), Qt::LeftButton);
    (void)rendered();
    EXPECT_TRUE(m_view->isAnimating());
    EXPECT_TRUE(m_frames.isTicking());

    for (int frame = 0; frame < 120 && m_view->isAnimating(); ++frame)
        m_frames.step(1.0 / 60);
    EXPECT_FALSE(m_view->isAnimating());
    EXPECT_FALSE(m_frames.isTicking());
}

TEST_F(DeckViewTest, AStateLightFadesBetweenOnAndOffAndNeverSitsOnTheNowPlayingArtwork)
{
    makeView();
    Tile mute = builderTile(QStringLiteral("Mute"), QStringLiteral("#3478F6"));
    mute.action = TileAction{TileAction::RunSystemAction{SystemAction::muteToggle}};
    m_store->set(mute, 0, 0);
    Tile nowPlaying;
    nowPlaying.action = TileAction{TileAction::NowPlaying{}};
    m_store->set(nowPlaying, 0, 1);
    m_tileState->start();
    m_stateSources.output.muted = true;
    m_stateSources.answerAll();

    // The light sits at the bottom of the icon, white on the blue plate.
    const double unit = m_view->deckGeometry().unit();
    const QPoint light = (slot(0).center() + QPointF(0, 76 * unit / 2 - 4 * unit - 3)).toPoint();
    const auto lightLevel = [&] { return rendered().pixelColor(light).green(); };
    EXPECT_EQ(m_view->litSlots(), std::vector<int>{0});
    EXPECT_NEAR(runFrames(), 0.28, 1.0 / 30) << "off before the first answer, on after it";
    EXPECT_GT(lightLevel(), 230);

    m_stateSources.output.muted = false;
    m_tileState->poll();
    m_stateSources.answerAll();
    EXPECT_TRUE(m_view->litSlots().empty());
    EXPECT_NEAR(runFrames(), 0.28, 1.0 / 30);
    EXPECT_LT(lightLevel(), 180) << "off is a faint dot";
    EXPECT_FALSE(m_frames.isTicking());

    // What plays fills the now-playing tile: a red cover, with the play badge and no light.
    QImage cover(64, 64, QImage::Format_RGB32);
    cover.fill(Qt::red);
    const QString coverFile = m_paths.supportDir() + QStringLiteral("/cover.png");
    QDir().mkpath(m_paths.supportDir());
    ASSERT_TRUE(cover.save(coverFile));
    m_nowPlaying->start();
    m_music.nowPlayingHandlers.back()(NowPlayingInfo{true, QStringLiteral("Song"), {}, QStringLiteral("1")});
    m_music.artworkFileHandlers.back()(coverFile);
    QSignalSpy decoded(m_artwork.get(), &NowPlayingArtwork::imageChanged);
    ASSERT_TRUE(decoded.wait(5000));
    const QColor centre = rendered().pixelColor((slot(1).center() - QPointF(10, 10)).toPoint());
    EXPECT_GT(centre.red(), 200);
    EXPECT_LT(centre.green(), 60);
    EXPECT_FALSE(m_view->litSlots() == std::vector<int>{1});
}

TEST_F(DeckViewTest, PageChangesRunOnFramesForTheirStyleAndThenDrawNoMore)
{
    makeView(4, TileSizeOption::large);
    m_store->addPage();
    m_store->goToPage(0);
    for (const PageTransitionOption option :
         {PageTransitionOption::ripple, PageTransitionOption::depth, PageTransitionOption::crossfade}) {
        SCOPED_TRACE(static_cast<int>(option));
        m_settings->setPageTransition(option);
        m_store->goToPage(1 - m_store->currentPage());
        EXPECT_TRUE(m_view->isTransitioning());
        EXPECT_TRUE(m_frames.isTicking());
        const double expected =
            PageTransition::duration({option, false, 8, m_view->deckGeometry().pageRect().size()}, 4);
        EXPECT_NEAR(runFrames(), expected, 1.0 / 60 + 1e-9);
        EXPECT_FALSE(m_view->isTransitioning());
        EXPECT_FALSE(m_frames.isTicking());
    }

    // Reduced motion switched on half-way settles the running change at once; the next one only fades.
    m_store->goToPage(0);
    m_frames.step(0.05);
    m_reduceMotion.set(true);
    EXPECT_FALSE(m_frames.isTicking());
    m_settings->setPageTransition(PageTransitionOption::ripple);
    m_store->goToPage(1);
    EXPECT_NEAR(runFrames(), PageTransition::tileFadeSeconds, 1.0 / 60 + 1e-9);
}

TEST_F(DeckViewTest, APreviewPlaysTheChosenPageChangeAndStaysOnThePage)
{
    makeView(4, TileSizeOption::large);
    m_settings->setPageTransition(PageTransitionOption::depth);
    for (const int pages : {1, 2}) {
        SCOPED_TRACE(pages);
        if (pages == 2)
            m_store->addPage();
        m_store->goToPage(0);
        m_view->previewTransition();
        EXPECT_TRUE(m_view->isTransitioning());
        EXPECT_NEAR(runFrames(),
                    PageTransition::duration(
                        {PageTransitionOption::depth, false, 8, m_view->deckGeometry().pageRect().size()}, 4),
                    1.0 / 60 + 1e-9);
        EXPECT_EQ(m_store->currentPage(), 0);
    }
}

TEST_F(DeckViewTest, ARippleShowsBothPagesHalfWayAndOnlyTheNewOneAfter)
{
    makeView();
    m_store->set(builderTile(QStringLiteral("Red"), QStringLiteral("#FF2020")), 0, 0);
    m_store->addPage();
    m_store->goToPage(1);
    m_frames.step(0.0);
    EXPECT_TRUE(showsRedAt(0)) << "the old page's tile before it fades";
    runFrames();
    EXPECT_FALSE(showsRedAt(0));
}

TEST_F(DeckViewTest, DealtCardsAreHiddenWhileGatheredFlyInAndThenTheFramesStop)
{
    makeView();
    m_store->set(builderTile(QStringLiteral("Red"), QStringLiteral("#FF2020")), 0, 0);
    m_store->set(builderTile(QStringLiteral("Red"), QStringLiteral("#FF2020")), 0, 8);
    m_deal->arrive();
    EXPECT_FALSE(showsRedAt(0));
    EXPECT_FALSE(m_frames.isTicking()) << "nothing moves while the cards wait";

    m_deal->deal();
    m_deal->release();
    EXPECT_TRUE(m_frames.isTicking());
    // The far corner waits 0.16 s for its diagonal.
    m_frames.step(0.15);
    EXPECT_TRUE(showsRedAt(0));
    EXPECT_FALSE(showsRedAt(8));
    EXPECT_NEAR(runFrames() + 0.15, DealIn::duration(DealIn::delay(2, 2)), 1.0 / 60 + 1e-9);
    EXPECT_TRUE(showsRedAt(8));
    EXPECT_FALSE(m_frames.isTicking());
}

} // namespace

namespace {

// The advance of the text at `pixels`, from a font twice that size: whole-pixel sizes are exact.
double advanceAt(double pixels, QFont::Weight weight, const QString& text)
{
    QFont doubled;
    doubled.setPixelSize(static_cast<int>(std::lround(2 * pixels)));
    doubled.setWeight(weight);
    doubled.setHintingPreference(QFont::PreferNoHinting);
    return QFontMetricsF(doubled).horizontalAdvance(text) / 2;
}

TEST_F(DeckViewTest, TextsAreMeasuredAtTheirFractionalSizes)
{
    makeView();
    const QString hint = macWordings().starterHint;
    EXPECT_NEAR(m_view->hintTextWidth(), std::ceil(advanceAt(10.5, QFont::Medium, hint)), 1);

    const QString label = QStringLiteral("Calendar");
    const double measured = advanceAt(11.5, QFont::Normal, label);
    EXPECT_NEAR(m_view->tooltipPainter().bubbleSize(label).width(), std::ceil(measured) + 16, 1);
    // 11 and 12 pixels, the sizes rounding would give, are both further off than the margin above.
    ASSERT_GT(std::abs(advanceAt(12, QFont::Normal, label) - measured), 1.5);
    ASSERT_GT(std::abs(advanceAt(11, QFont::Normal, label) - measured), 1.5);
}

TEST_F(DeckViewTest, AMovingDeckDrawsTilesFromPicturesThatLookAsAtRestAndFollowEachChange)
{
    makeView();
    QDir().mkpath(m_paths.iconsDir());
    // A round picture is framed by nothing: hovered, it reaches beyond its tile, and its shadow further.
    QImage picture(64, 64, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(200, 80, 20));
        painter.drawEllipse(picture.rect());
    }
    ASSERT_TRUE(picture.save(m_paths.iconsDir() + QStringLiteral("/picture.png")));
    Tile pictured = snippetTile(QStringLiteral("picture"));
    pictured.icon = TileIcon{TileIcon::Custom{QStringLiteral("picture.png")}};
    m_store->set(pictured, 0, 0);
    m_store->set(builderTile(QStringLiteral("Red"), QStringLiteral("#FF2020")), 0, 2);
    m_store->addPage();
    m_store->goToPage(0);
    mouse(QEvent::MouseMove, slot(0).center(), Qt::NoButton);
    (void)rendered();
    runFrames();
    const QImage still = rendered();

    // Back from the next page the left column leads: its tiles are at rest while the others still move.
    m_store->goToPage(1);
    runFrames();
    m_store->goToPage(0);
    m_frames.step(PageTransition::tileFadeSeconds + 0.01);
    ASSERT_TRUE(m_view->isTransitioning());
    const QImage moving = rendered();
    const QRect around = slot(0).adjusted(-12, -12, 12, 12).toAlignedRect().intersected(still.rect());
    int worst = 0;
    for (int y = around.top(); y <= around.bottom(); ++y) {
        for (int x = around.left(); x <= around.right(); ++x) {
            const QColor a = still.pixelColor(x, y);
            const QColor b = moving.pixelColor(x, y);
            worst = std::max({worst, std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                              std::abs(a.blue() - b.blue()), std::abs(a.alpha() - b.alpha())});
        }
    }
    EXPECT_LE(worst, 2) << "the picture of a tile is cut or moved";

    // A tile changed while the pages move shows its new look on the next frame.
    runFrames();
    m_store->goToPage(1);
    m_store->goToPage(0);
    m_frames.step(PageTransition::duration({}, 3) - 0.01);
    EXPECT_TRUE(showsRedAt(2));
    m_store->set(builderTile(QStringLiteral("Blue"), QStringLiteral("#2020FF")), 0, 2);
    ASSERT_TRUE(m_view->isTransitioning());
    EXPECT_FALSE(showsRedAt(2));
}

TEST_F(DeckViewTest, TheHoverSpringDrawsAnImageFromTwoPreparedSizesOnly)
{
    makeView();
    QDir().mkpath(m_paths.iconsDir());
    QImage picture(64, 64, QImage::Format_ARGB32);
    picture.fill(QColor(200, 80, 20));
    ASSERT_TRUE(picture.save(m_paths.iconsDir() + QStringLiteral("/picture.png")));
    Tile tile = snippetTile(QStringLiteral("picture"));
    tile.icon = TileIcon{TileIcon::Custom{QStringLiteral("picture.png")}};

    TileIconPainter painter({*m_icons, m_finish, m_font});
    QImage canvas(200, 200, QImage::Format_ARGB32_Premultiplied);
    QPainter on(&canvas);
    for (const double boost : {0.0, 0.4, 1.7, 3.9, 6.2, 8.5, 8.1, TileIconPainter::hoverBoost})
        painter.paint(on, tile, QRectF(40, 40, 104, 104), 104.0 / 92, boost, 1);
    EXPECT_EQ(painter.preparedImageCount(), 2);
}

} // namespace

TEST_F(DeckViewTest, TheDefaultBandDrawsItsModulesRunsTheirClicksAndItsEnginesOnlyWhileShown)
{
    makeView();
    m_view->setOpaque(true);
    m_settings->setBackgroundOpacity(1);
    const QRectF band = m_view->deckGeometry().bandRect();
    const std::vector<BandLayout::Placement> placements =
        BandLayout::placements(m_settings->bandModules(), band, BandLayout::unitCount(*m_settings));
    ASSERT_EQ(placements.size(), 5U) << "the default band fits a 3 × 3 deck";
    const QImage image = rendered();
    for (const BandLayout::Placement& placement : placements) {
        const QRectF frame = placement.frame;
        EXPECT_TRUE(band.contains(frame)) << rawValue(placement.module).toStdString();
        // A module's card is lighter than the glass in the gap after it.
        const QPoint card = QPointF(frame.center().x(), frame.top() + 3).toPoint();
        const QPoint gap = QPointF(frame.right() + BandLayout::unitSpacing / 2, frame.center().y()).toPoint();
        EXPECT_GT(qGray(image.pixel(card)), qGray(image.pixel(gap)) + 5)
            << rawValue(placement.module).toStdString();
    }

    const QPointF volumeUp = placements[2].frame.center();
    mouse(QEvent::MouseMove, volumeUp, Qt::NoButton);
    m_hover.showPending();
    ASSERT_TRUE(m_hover.tip().has_value());
    EXPECT_EQ(m_hover.tip()->text, QStringLiteral("Volume Up"));
    mouse(QEvent::MouseButtonPress, volumeUp, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, volumeUp, Qt::NoButton);
    EXPECT_EQ(m_controls.log, QStringList{QStringLiteral("volumeUp")});

    m_settings->setBandModules({BandModule::memory});
    EXPECT_FALSE(m_band->fast().isRunning()) << "a band that is not on screen samples nothing";
    m_view->show();
    EXPECT_TRUE(m_band->fast().isRunning());
    m_settings->setShowBand(false);
    EXPECT_FALSE(m_band->fast().isRunning());
    m_settings->setShowBand(true);
    m_view->hide();
    EXPECT_FALSE(m_band->fast().isRunning());
}
