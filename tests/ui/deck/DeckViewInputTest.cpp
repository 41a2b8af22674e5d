#include "DeckViewFixture.h"

namespace {

TEST_F(DeckViewTest, HoveringAConfiguredTileSchedulesItsTooltipAtItsCell)
{
    makeView();
    Tile unlabelled = snippetTile(QStringLiteral("hello there"));
    m_store->set(unlabelled, 0, 5);
    m_store->set(builderTile(QStringLiteral("Red"), QStringLiteral("#FF0000")), 0, 7);

    mouse(QEvent::MouseMove, slot(5).center(), Qt::NoButton);
    ASSERT_TRUE(m_hover.isPending());
    m_hover.showPending();
    ASSERT_TRUE(m_hover.tip().has_value());
    EXPECT_EQ(m_hover.tip()->text, QStringLiteral("hello there"));
    EXPECT_EQ(m_hover.tip()->anchor, TileHoverState::Anchor(TileHoverState::TileAnchor{1, 2}));
    EXPECT_TRUE(m_view->isAnimating());
    m_frames.step(DeckView::fadeSeconds);
    m_frames.step(1.0);
    EXPECT_FALSE(m_frames.isTicking());

    mouse(QEvent::MouseMove, slot(7).center(), Qt::NoButton);
    EXPECT_FALSE(m_hover.tip().has_value());
    m_hover.showPending();
    EXPECT_EQ(m_hover.tip()->text, QStringLiteral("Red"));

    // An application tile is named as the desktop names the application.
    Tile files;
    files.action = TileAction{TileAction::LaunchApp{m_names.known}};
    m_store->set(files, 0, 1);
    mouse(QEvent::MouseMove, slot(1).center(), Qt::NoButton);
    m_hover.showPending();
    EXPECT_EQ(m_hover.tip()->text, QStringLiteral("Files"));

    mouse(QEvent::MouseMove, slot(0).center(), Qt::NoButton);
    EXPECT_FALSE(m_hover.isPending());
    EXPECT_FALSE(m_hover.tip().has_value());

    m_editMode->setEditing(true);
    mouse(QEvent::MouseMove, slot(5).center(), Qt::NoButton);
    EXPECT_FALSE(m_hover.isPending());
}

TEST_F(DeckViewTest, DeckMenuWithOnePageCannotMoveOrDeleteIt)
{
    makeView();
    const std::unique_ptr<QMenu> menu = m_view->menus().deckMenu();
    EXPECT_FALSE(actionNamed(*menu, QStringLiteral("Move Page To"))->isEnabled());
    EXPECT_FALSE(actionNamed(*menu, QStringLiteral("Delete This Page"))->isEnabled());
    QSignalSpy exports(&m_view->menus(), &DeckMenus::exportDeckRequested);
    QSignalSpy imports(&m_view->menus(), &DeckMenus::importDeckRequested);
    actionNamed(*menu, QStringLiteral("Import Deck…"))->trigger();
    EXPECT_EQ(exports.count(), 0);
    EXPECT_EQ(imports.count(), 1);
}

TEST_F(DeckViewTest, DeckMenuMovesPagesAndCarriesExtraItems)
{
    makeView();
    m_store->addPage();
    m_store->addPage();
    m_store->goToPage(1);
    m_editMode->setEditing(true);
    QAction quit(QStringLiteral("Quit Marquetto"));
    m_view->menus().setExtraItems([&quit](QMenu& menu) { menu.addAction(&quit); });

    const std::unique_ptr<QMenu> menu = m_view->menus().deckMenu();
    EXPECT_TRUE(actionNamed(*menu, QStringLiteral("Move Page To"))->isEnabled());
    EXPECT_TRUE(actionNamed(*menu, QStringLiteral("Delete This Page"))->isEnabled());
    EXPECT_EQ(menu->actions().constLast(), &quit) << "extra items come last";

    QMenu* moveTo = actionNamed(*menu, QStringLiteral("Move Page To"))->menu();
    ASSERT_NE(moveTo, nullptr);
    EXPECT_EQ(entries(*moveTo), (std::vector<MenuEntry>{{QStringLiteral("Position 1"), true},
                                                        {QStringLiteral("Position 2"), false},
                                                        {QStringLiteral("Position 3"), true}}));
    m_store->set(snippetTile(QStringLiteral("moved")), 1, 0);
    actionNamed(*moveTo, QStringLiteral("Position 3"))->trigger();
    EXPECT_EQ(m_store->pages().at(2).at(0).action, snippetTile(QStringLiteral("moved")).action);

    actionNamed(*menu, QStringLiteral("Done Editing"))->trigger();
    EXPECT_FALSE(m_editMode->isEditing());
}

TEST_F(DeckViewTest, TileMenuOffersTransportOnlyOnNowPlayingTiles)
{
    makeView();
    Tile nowPlaying;
    nowPlaying.action = TileAction{TileAction::NowPlaying{}};
    m_store->set(nowPlaying, 0, 0);

    const std::unique_ptr<QMenu> menu = m_view->menus().tileMenu(0, 0);
    EXPECT_EQ(entries(*menu), (std::vector<MenuEntry>{{QStringLiteral("Next Track"), true},
                                                      {QStringLiteral("Previous Track"), true},
                                                      {QString(), true},
                                                      {QStringLiteral("Edit Tile…"), true},
                                                      {QStringLiteral("Clear Tile"), true}}));
    actionNamed(*menu, QStringLiteral("Previous Track"))->trigger();
    actionNamed(*menu, QStringLiteral("Next Track"))->trigger();
    EXPECT_EQ(m_music.requests, (QStringList{QStringLiteral("previous"), QStringLiteral("next")}));

    EXPECT_EQ(entries(*m_view->menus().tileMenu(0, 1)),
              (std::vector<MenuEntry>{{QStringLiteral("Edit Tile…"), true}}));
}

TEST_F(DeckViewTest, AsksBeforeDeletingAPageWithTilesAlsoBeyondTheGrid)
{
    makeView(4);
    m_store->addPage();
    m_store->goToPage(1);
    // Two of the three lie beyond the nine slots of the 3 × 3 grid the page shrinks to.
    for (const int index : {2, 10, 11})
        m_store->set(snippetTile(QStringLiteral("t")), 1, index);
    m_settings->setGridColumns(3);

    m_alerts.answer = 1;
    m_view->menus().confirmDeleteCurrentPage();
    ASSERT_EQ(m_alerts.shown.size(), 1U);
    EXPECT_EQ(m_alerts.shown[0], (Alert{QStringLiteral("Delete this page?"),
                                        QStringLiteral("It has 3 configured tiles. This can't be undone."),
                                        {QStringLiteral("Delete"), QStringLiteral("Cancel")}}));
    EXPECT_EQ(m_store->pages().size(), 2U);

    m_alerts.answer = 0;
    m_view->menus().confirmDeleteCurrentPage();
    EXPECT_EQ(m_store->pages().size(), 1U);
}

TEST_F(DeckViewTest, RowClicksTurnPagesAndLeaveEditMode)
{
    makeView();
    m_store->addPage();
    m_store->goToPage(0);
    m_editMode->setEditing(true);
    const std::vector<DeckGeometry::RowItem> items = m_view->deckGeometry().rowItems();
    const auto click = [this](QPointF at) {
        mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
    };
    click(items[3].rect.center());
    EXPECT_EQ(m_store->currentPage(), 1);
    click(items[0].rect.center());
    EXPECT_EQ(m_store->currentPage(), 0);
    click(items[4].rect.center());
    EXPECT_EQ(m_store->pages().size(), 3U);
    click(items[5].rect.center());
    EXPECT_FALSE(m_editMode->isEditing());
}

TEST_F(DeckViewTest, DraggingATileSwapsItWithTheTileItIsDroppedOnAndEscapeCancelsTheDrag)
{
    makeView();
    m_store->set(snippetTile(QStringLiteral("a")), 0, 0);
    m_store->set(snippetTile(QStringLiteral("c")), 0, 2);
    const QUuid first = m_store->tile(0, 0).id;
    const QUuid third = m_store->tile(0, 2).id;
    m_editMode->setEditing(true);
    QSignalSpy activated(m_view.get(), &DeckView::tileActivated);

    mouse(QEvent::MouseButtonPress, slot(0).center(), Qt::LeftButton);
    mouse(QEvent::MouseMove, slot(1).center(), Qt::LeftButton);
    ASSERT_TRUE(m_editMode->isDragging());
    EXPECT_EQ(QWidget::keyboardGrabber(), m_view.get())
        << "the deck never has the focus, Escape needs a grab";
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(m_view.get(), &escape);
    EXPECT_FALSE(m_editMode->isDragging());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    // The rest of the cancelled press neither drags again nor clicks.
    mouse(QEvent::MouseMove, slot(2).center(), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, slot(2).center(), Qt::NoButton);
    EXPECT_EQ(m_store->tile(0, 0).id, first);
    EXPECT_EQ(activated.count(), 0);

    mouse(QEvent::MouseButtonPress, slot(0).center(), Qt::LeftButton);
    mouse(QEvent::MouseMove, slot(1).center(), Qt::LeftButton);
    mouse(QEvent::MouseMove, slot(2).center(), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, slot(2).center(), Qt::NoButton);
    EXPECT_EQ(m_store->tile(0, 2).id, first);
    EXPECT_EQ(m_store->tile(0, 0).id, third);
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
}

struct LostReleaseCase {
    const char* name;
    // What reaches the deck instead of the drag's release.
    std::function<void(QWidget& view, QPointF at)> interrupt;
};

class DeckViewLostRelease : public DeckViewTest, public ::testing::WithParamInterface<LostReleaseCase> {};

TEST_P(DeckViewLostRelease, ADragWhoseReleaseNeverCameEndsWithoutAChangeAndTheNextClickMovesNothing)
{
    makeView();
    // Shown, the band's engines would start reading devices on the pool, beyond this test's lifetime.
    m_settings->setShowBand(false);
    m_view->show();
    m_store->set(snippetTile(QStringLiteral("a")), 0, 0);
    const QUuid first = m_store->tile(0, 0).id;
    m_editMode->setEditing(true);
    QSignalSpy activated(m_view.get(), &DeckView::tileActivated);

    mouse(QEvent::MouseButtonPress, slot(0).center(), Qt::LeftButton);
    mouse(QEvent::MouseMove, slot(1).center(), Qt::LeftButton);
    ASSERT_TRUE(m_editMode->isDragging());
    GetParam().interrupt(*m_view, slot(1).center());
    EXPECT_FALSE(m_editMode->isDragging());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);

    m_view->show();
    mouse(QEvent::MouseButtonPress, slot(2).center(), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, slot(2).center(), Qt::NoButton);
    EXPECT_EQ(m_store->tile(0, 0).id, first);
    EXPECT_EQ(activated.count(), 1) << "the next click is a click of its own";
}

void press(QWidget& view, QPointF at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(QEvent::MouseButtonPress, at, view.mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(&view, &event);
}

INSTANTIATE_TEST_SUITE_P(
    Interruptions, DeckViewLostRelease,
    ::testing::Values(LostReleaseCase{"rightPress",
                                      [](QWidget& view, QPointF at) {
                                          press(view, at, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
                                      }},
                      LostReleaseCase{
                          "secondLeftPress",
                          [](QWidget& view, QPointF at) { press(view, at, Qt::LeftButton, Qt::LeftButton); }},
                      LostReleaseCase{"moveWithTheButtonUp",
                                      [](QWidget& view, QPointF at) {
                                          QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at),
                                                           Qt::NoButton, Qt::NoButton, Qt::NoModifier);
                                          QApplication::sendEvent(&view, &move);
                                      }},
                      LostReleaseCase{"focusLoss",
                                      [](QWidget& view, QPointF) {
                                          QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
                                          QApplication::sendEvent(&view, &out);
                                      }},
                      LostReleaseCase{"windowDeactivated",
                                      [](QWidget& view, QPointF) {
                                          QEvent deactivated(QEvent::ActivationChange);
                                          QApplication::sendEvent(&view, &deactivated);
                                      }},
                      LostReleaseCase{"panelRebuilt", [](QWidget& view, QPointF) { view.hide(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeckViewTest, AFileDroppedOnATileBecomesItsActionAndTheFileStaysWhereItIs)
{
    makeView();
    m_store->set(builderTile(QStringLiteral("Red"), QStringLiteral("#FF0000")), 0, 4);
    const Tile before = m_store->tile(0, 4);
    const QString notes = m_paths.home + QStringLiteral("/notes.txt");
    writeFile(notes, "notes");
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(notes)});
    QMimeData mail;
    mail.setUrls({QUrl(QStringLiteral("mailto:someone@example.org"))});
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    const auto drop = [&](QPointF at, const QMimeData& data) {
        QDragEnterEvent enter(at.toPoint(), offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_view.get(), &enter);
        QDropEvent dropped(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_view.get(), &dropped);
        return std::pair{enter.isAccepted() ? std::optional(enter.dropAction()) : std::nullopt,
                         dropped.isAccepted() ? std::optional(dropped.dropAction()) : std::nullopt};
    };

    EXPECT_EQ(drop(slot(4).center(), mail),
              std::pair(std::optional<Qt::DropAction>(), std::optional<Qt::DropAction>()));
    // Between two tiles there is no tile to take it.
    EXPECT_EQ(drop(slot(4).topRight() + QPointF(5, 5), file).second, std::nullopt);
    EXPECT_EQ(m_store->tile(0, 4), before);

    // A move would have the file manager delete the file it handed over.
    EXPECT_EQ(drop(slot(4).center(), file),
              std::pair(std::optional(Qt::CopyAction), std::optional(Qt::CopyAction)));
    // What else the new tile keeps and drops is the file drop's own to check.
    EXPECT_EQ(m_store->tile(0, 4).id, before.id);
    EXPECT_EQ(m_store->tile(0, 4).action, TileAction{TileAction::OpenFile{notes}});
}

TEST_F(DeckViewTest, StarterHintClosesByItsButtonOrByEditing)
{
    makeView();
    const QString key = QString::fromLatin1(StarterHint::key);
    m_preferences->setValue(key, true);
    const DeckGeometry geometry = m_view->deckGeometry();
    ASSERT_TRUE(geometry.showsStarterHint());
    const QPointF close = geometry.hintClose(m_view->hintTextWidth()).rect.center();
    mouse(QEvent::MouseButtonPress, close, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, close, Qt::NoButton);
    EXPECT_EQ(m_preferences->boolValue(key), false);

    m_preferences->setValue(key, true);
    m_editMode->setEditing(true);
    EXPECT_EQ(m_preferences->boolValue(key), false);
}

} // namespace
