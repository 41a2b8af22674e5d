#include "deck/DesktopPanel.h"

#include "support/PanelFixture.h"

#include <QSignalSpy>

namespace {

using Screen = Windows::Screen;

const QSizeF deckSize{360, 388};
// A 3 × 3 deck of regular tiles: 104-point tiles, a chip of 104 / 92 × 76 and 10 points around it.
const double chipSide = 104.0 / 92 * 76 + 20;
const QPointF outside{10, 10};
const QPointF insideDefaultFrame{1100, 200};

QPointF topLeft(const QRectF& rect)
{
    return {rect.x(), rect.y() + rect.height()};
}

class DesktopPanelTest : public PanelFixture {
protected:
    void SetUp() override
    {
        makePanel();
        m_desktop.pointer = outside;
    }

    void showCompact()
    {
        m_settings->setCompact(true);
        m_panel->showPanel();
    }
};

TEST_F(DesktopPanelTest, FirstStartSitsThirtyTwoPointsFromTheRightAndBottomOfTheMainScreen)
{
    struct Case {
        const char* name;
        std::vector<Screen> screens;
        std::optional<std::size_t> main;
        QRectF expected;
    };
    const std::vector<Case> cases{
        {"plain screen", {{{0, 0, 1440, 900}, {0, 0, 1440, 875}}}, 0, {1048, 32, 360, 388}},
        {"dock at the bottom", {{{0, 0, 1440, 900}, {0, 70, 1440, 805}}}, 0, {1048, 102, 360, 388}},
        {"second screen is the main one",
         {{{0, 0, 1440, 900}, {0, 0, 1440, 875}}, {{1440, 0, 1920, 1080}, {1440, 0, 1920, 1050}}},
         1,
         {2968, 32, 360, 388}},
        {"no screen at all", {}, std::nullopt, {1048, 32, 360, 388}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_desktop.screenList = c.screens;
        m_desktop.main = c.main;
        m_panel->showPanel();
        EXPECT_EQ(window().frame(), c.expected);
        EXPECT_EQ(window().level(), PanelLevel::desktop);
        EXPECT_TRUE(window().isMovable());
    }
}

TEST_F(DesktopPanelTest, SavedFrameIsUsedOnlyWhenItLiesOnAScreen)
{
    struct Case {
        const char* saved;
        QRectF expected;
    };
    const std::vector<Case> cases{
        {"{{200, 300}, {360, 388}}", {200, 300, 360, 388}},
        // Its screen was unplugged.
        {"{{3000, 300}, {360, 388}}", {1048, 32, 360, 388}},
        {"nothing useful", {1048, 32, 360, 388}},
        // Half off the top: kept where the user put it, then pulled onto the screen.
        {"{{200, 700}, {360, 388}}", {200, 487, 360, 388}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.saved);
        m_preferences->setValue(QLatin1String(DesktopPanelController::frameKey), QString::fromUtf8(c.saved));
        m_panel->showPanel();
        EXPECT_EQ(window().frame(), c.expected);
    }
}

TEST_F(DesktopPanelTest, ADeckWhoseScreenIsUnpluggedComesBackOntoTheMainScreen)
{
    m_desktop.screenList.push_back({{1440, 0, 1920, 1080}, {1440, 0, 1920, 1050}});
    makePanel().showPanel();
    window().dragTo({2800, 400});
    m_panel->screensChanged();
    EXPECT_EQ(window().frame(), QRectF(2800, 400, 360, 388))
        << "a deck on a screen that is still there stays";

    m_desktop.screenList.pop_back();
    m_panel->screensChanged();
    EXPECT_EQ(window().frame(), QRectF(1080, 400, 360, 388));
}

TEST_F(DesktopPanelTest, CompactDeckFoldsHalfASecondAfterThePointerLeftUnlessItComesBack)
{
    showCompact();
    const QPointF corner = topLeft(QRectF(1048, 32, 360, 388));
    EXPECT_FALSE(m_chrome.isExpanded());
    EXPECT_EQ(window().frame().size(), QSizeF(chipSide, chipSide));
    EXPECT_EQ(topLeft(window().frame()), corner);
    EXPECT_FALSE(m_panel->isOutsideCheckRunning());

    m_panel->handleHoverChange(true);
    EXPECT_TRUE(m_chrome.isExpanded());
    EXPECT_EQ(window().frame(), QRectF(1048, 32, 360, 388));
    EXPECT_TRUE(m_panel->isOutsideCheckRunning());

    m_panel->handleHoverChange(false);
    EXPECT_TRUE(m_panel->isCollapseScheduled());
    EXPECT_TRUE(m_chrome.isExpanded());
    m_panel->handleHoverChange(true);
    EXPECT_FALSE(m_panel->isCollapseScheduled());

    m_panel->handleHoverChange(false);
    m_panel->collapse();
    EXPECT_FALSE(m_chrome.isExpanded());
    EXPECT_FALSE(m_panel->isCollapseScheduled());
    EXPECT_FALSE(m_panel->isOutsideCheckRunning());
    // The chip animates in inside the full-size window before the window shrinks.
    EXPECT_TRUE(m_panel->isShrinkPending());
    EXPECT_EQ(window().frame().size(), deckSize);

    m_panel->finishShrink();
    EXPECT_EQ(window().frame().size(), QSizeF(chipSide, chipSide));
    EXPECT_EQ(topLeft(window().frame()), corner);
}

TEST_F(DesktopPanelTest, ReturningBeforeTheWindowShrankNeverShrinksIt)
{
    showCompact();
    m_panel->handleHoverChange(true);
    window().frames.clear();

    m_panel->handleHoverChange(false);
    m_panel->collapse();
    m_panel->handleHoverChange(true);
    EXPECT_FALSE(m_panel->isShrinkPending());
    EXPECT_TRUE(m_chrome.isExpanded());
    m_panel->finishShrink();

    for (const QRectF& frame : window().frames)
        EXPECT_EQ(frame.size(), deckSize);
    EXPECT_EQ(window().frame(), QRectF(1048, 32, 360, 388));
}

TEST_F(DesktopPanelTest, SummonedDeckNeverFoldsAndDismissingWithThePointerOutsideFoldsItLater)
{
    showCompact();
    m_starterHint->show();
    QSignalSpy summoned(m_panel.get(), &DesktopPanelController::summonedChanged);
    m_panel->beginSummon();
    EXPECT_TRUE(m_panel->isSummoned());
    EXPECT_FALSE(m_starterHint->isPending()) << "the first summon dismisses the starter hint";
    EXPECT_TRUE(m_chrome.isExpanded());
    EXPECT_EQ(window().level(), PanelLevel::summoned);

    m_panel->handleHoverChange(false);
    m_panel->collapse();
    m_panel->checkPointerOutside();
    EXPECT_TRUE(m_chrome.isExpanded());

    m_panel->endSummon();
    EXPECT_EQ(window().level(), PanelLevel::desktop);
    EXPECT_TRUE(m_panel->isCollapseScheduled());
    m_panel->collapse();
    EXPECT_FALSE(m_chrome.isExpanded());
    EXPECT_EQ(summoned.count(), 2);

    m_panel->beginSummon();
    m_desktop.pointer = insideDefaultFrame;
    m_panel->endSummon();
    EXPECT_FALSE(m_panel->isCollapseScheduled());
    EXPECT_TRUE(m_chrome.isExpanded());
}

TEST_F(DesktopPanelTest, EditingOrDraggingHoldsTheDeckOpen)
{
    for (const bool dragging : {false, true}) {
        SCOPED_TRACE(dragging ? "dragging" : "editing");
        showCompact();
        if (dragging) {
            m_panel->handleHoverChange(true);
            m_editMode->beginDrag(0, 1);
        } else {
            ASSERT_FALSE(m_chrome.isExpanded());
            m_editMode->setEditing(true);
            EXPECT_TRUE(m_chrome.isExpanded()) << "edit mode unfolds the chip";
        }

        m_panel->handleHoverChange(false);
        m_panel->collapse();
        m_panel->checkPointerOutside();
        m_settings->setCompact(false);
        m_settings->setCompact(true);
        m_panel->beginSummon();
        m_panel->endSummon();
        m_panel->collapse();
        EXPECT_TRUE(m_chrome.isExpanded());

        // A deck shown again during the edit starts open.
        m_panel->showPanel();
        EXPECT_TRUE(m_chrome.isExpanded());
        EXPECT_EQ(window().frame().size(), deckSize);

        m_editMode->cancelDrag();
        m_editMode->setEditing(false);
    }
}

TEST_F(DesktopPanelTest, SwitchingCompactModeFoldsAndUnfoldsTheShownDeckWhoeverSwitchesIt)
{
    m_panel->showPanel();
    m_settings->setCompact(true);
    EXPECT_FALSE(m_chrome.isExpanded());
    m_panel->finishShrink();
    EXPECT_EQ(window().frame().size(), QSizeF(chipSide, chipSide));

    m_settings->setCompact(false);
    EXPECT_TRUE(m_chrome.isExpanded());
    EXPECT_EQ(window().frame().size(), deckSize);

    // A summoned deck stays open when compact mode comes on.
    m_panel->beginSummon();
    m_settings->setCompact(true);
    EXPECT_TRUE(m_chrome.isExpanded());
}

TEST_F(DesktopPanelTest, OutsideCheckFoldsADeckThePointerLeftUnnoticed)
{
    showCompact();
    m_panel->handleHoverChange(true);
    ASSERT_TRUE(m_panel->isOutsideCheckRunning());

    m_desktop.pointer = insideDefaultFrame;
    m_panel->checkPointerOutside();
    EXPECT_TRUE(m_chrome.isExpanded());
    EXPECT_TRUE(m_panel->lastHoverInside());

    m_desktop.pointer = outside;
    m_panel->checkPointerOutside();
    EXPECT_FALSE(m_chrome.isExpanded());
    EXPECT_FALSE(m_panel->lastHoverInside());
    EXPECT_FALSE(m_panel->isOutsideCheckRunning());
}

TEST_F(DesktopPanelTest, ScrollingFlipsPagesPastAThresholdAndNotTooOften)
{
    for (int i = 0; i < 4; ++i)
        m_store->addPage();
    m_store->goToPage(2);
    m_panel->showPanel();

    const auto precise = [](double dy) { return ScrollEvent{{0, dy}, true, false, true}; };
    const auto wheel = [](double dy) { return ScrollEvent{{0, dy}, false, false, true}; };
    struct Step {
        const char* name;
        ScrollEvent event;
        qint64 afterMs;
        int page;
    };
    const std::vector<Step> steps{
        {"trackpad 8 is too little", precise(-8), 1000, 2},
        {"trackpad 12 flips to the next page", precise(-12), 0, 3},
        {"again within 0.45 s", precise(-30), 450, 3},
        {"after 0.45 s", precise(-30), 1, 4},
        {"momentum never flips", ScrollEvent{{0, 40}, true, true, true}, 1000, 4},
        {"another window", ScrollEvent{{0, 40}, true, false, false}, 1000, 4},
        {"a wheel notch back", wheel(1), 1000, 3},
        {"another notch within 0.12 s", wheel(1), 120, 3},
        {"after 0.12 s", wheel(1), 1, 2},
        {"half a notch is too little", wheel(0.5), 1000, 2},
        {"sideways swipe wins over a smaller vertical delta", ScrollEvent{{-15, 12}, true, false, true}, 1000,
         3},
        {"a big notch back", wheel(3), 1000, 2},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        m_clock.set(m_clock.now().addMSecs(step.afterMs));
        m_panel->handleScroll(step.event);
        EXPECT_EQ(m_store->currentPage(), step.page);
    }
}

TEST_F(DesktopPanelTest, MovingTheFoldedChipSavesTheFullDeckAtTheChipsCorner)
{
    showCompact();
    window().dragTo({100, 500});
    const QPointF chipCorner = topLeft(window().frame());
    const std::optional<QString> saved =
        m_preferences->stringValue(QLatin1String(DesktopPanelController::frameKey));
    ASSERT_TRUE(saved);
    const std::optional<QRectF> frame = PanelPlacement::frameFromText(*saved);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->size(), deckSize);
    EXPECT_NEAR(topLeft(*frame).x(), chipCorner.x(), 0.001);
    EXPECT_NEAR(topLeft(*frame).y(), chipCorner.y(), 0.001);

    m_settings->setCompact(false);
    makePanel().showPanel();
    EXPECT_EQ(window().frame().size(), deckSize);
    EXPECT_NEAR(topLeft(window().frame()).x(), chipCorner.x(), 0.001);
    EXPECT_NEAR(topLeft(window().frame()).y(), chipCorner.y(), 0.001);
}

TEST_F(DesktopPanelTest, PinnedDeckCannotBeDraggedAndUnpinningFreesItAtOnce)
{
    m_settings->setPinned(true);
    m_panel->showPanel();
    EXPECT_FALSE(window().isMovable());
    m_settings->setPinned(false);
    EXPECT_TRUE(window().isMovable());
}

TEST_F(DesktopPanelTest, ResetPutsTheDeckBackInTheMainScreensCornerKeepingItsSizeAndRemembersIt)
{
    m_panel->resetPosition();
    EXPECT_FALSE(m_desktop.lastWindow) << "nothing to move before the deck is shown";

    // In Qt's coordinates the main screen sits below a wider one and right of its left edge, with a 25-pixel
    // panel along its bottom; the deck's y axis starts at the main screen's bottom edge.
    const double mainBottom = 1080 + 900;
    const Screen above{Windows::flipped({0, 0, 1920, 1080}, mainBottom),
                       Windows::flipped({0, 0, 1920, 1080}, mainBottom)};
    const Screen below{Windows::flipped({240, 1080, 1440, 900}, mainBottom),
                       Windows::flipped({240, 1080, 1440, 875}, mainBottom)};
    struct Case {
        const char* name;
        std::vector<Screen> screens;
        bool compact;
        QPointF topLeft;
    };
    const std::vector<Case> cases{
        {"one screen at the origin", {{{0, 0, 1440, 900}, {0, 0, 1440, 875}}}, false, {1048, 232}},
        {"main screen below another", {above, below}, false, {1288, 257}},
        {"folded chip", {{{0, 0, 1440, 900}, {0, 0, 1440, 875}}}, true, {1048, 232}},
    };
    m_desktop.deckSize = {360, 200};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_desktop.screenList = c.screens;
        m_desktop.main = c.screens.size() - 1;
        m_settings->setCompact(c.compact);
        m_panel->showPanel();
        const QSizeF shown = window().frame().size();
        window().dragTo({300, 400});
        m_panel->resetPosition();
        EXPECT_EQ(topLeft(window().frame()), c.topLeft);
        EXPECT_EQ(window().frame().size(), shown);
        EXPECT_EQ(m_preferences->stringValue(QLatin1String(DesktopPanelController::frameKey)),
                  PanelPlacement::frameText({c.topLeft.x(), c.topLeft.y() - 200, 360, 200}));
    }
    EXPECT_EQ(Windows::flipped(QRectF(1288, 57, 360, 200), mainBottom).topLeft(), QPointF(1288, 1723))
        << "in Qt's coordinates, 32 pixels above the bottom panel";
}

TEST(PanelPlacement, ClampsIntoTheVisibleFrameOfTheRightScreen)
{
    const Screen left{{0, 0, 1440, 900}, {0, 0, 1440, 875}};
    const Screen right{{1440, 0, 1920, 1080}, {1440, 0, 1920, 1050}};
    const std::vector<Screen> both{left, right};
    struct Case {
        const char* name;
        QRectF rect;
        std::optional<Screen> windowScreen;
        std::vector<Screen> screens;
        QRectF expected;
    };
    const std::vector<Case> cases{
        {"inside stays", {100, 100, 360, 388}, std::nullopt, both, {100, 100, 360, 388}},
        {"below and right of the left screen",
         {1200, -50, 360, 388},
         std::nullopt,
         both,
         {1080, 0, 360, 388}},
        {"centre on the right screen", {1300, 600, 360, 388}, std::nullopt, both, {1440, 600, 360, 388}},
        {"the window's screen wins", {100, 100, 360, 388}, right, both, {1440, 100, 360, 388}},
        {"on no screen goes to the main one",
         {5000, 5000, 360, 388},
         std::nullopt,
         both,
         {3000, 662, 360, 388}},
        {"larger than the screen keeps its size",
         {100, 100, 2000, 1000},
         std::nullopt,
         both,
         {0, 0, 2000, 1000}},
        {"no screen at all", {5000, 5000, 360, 388}, std::nullopt, {}, {5000, 5000, 360, 388}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PanelPlacement::clampedToScreen(c.rect, c.windowScreen, c.screens, 1), c.expected);
    }
}

TEST(PanelPlacement, FrameTextIsWrittenPlainlyAndReadLeniently)
{
    EXPECT_EQ(PanelPlacement::frameText({1048, 32, 360, 388}), QStringLiteral("{{1048, 32}, {360, 388}}"));
    EXPECT_EQ(PanelPlacement::frameText({-12.5, 0.25, 105.913043, 1e7}),
              QStringLiteral("{{-12.5, 0.25}, {105.913, 1e+07}}"));

    struct Case {
        const char* text;
        std::optional<QRectF> expected;
    };
    const std::vector<Case> cases{
        {"{{1048, 32}, {360, 388}}", QRectF(1048, 32, 360, 388)},
        {"{{-12.5, 0.25}, {105.913, 1e+07}}", QRectF(-12.5, 0.25, 105.913, 1e7)},
        {"{{1, 2}, {3, 4}} {5, 6}", QRectF(1, 2, 3, 4)},
        {"{{10, 20}}", QRectF(10, 20, 0, 0)},
        {"{{.5, +3}, {4., -0}}", QRectF(0.5, 3, 4, 0)},
        {"", std::nullopt},
        {"{{x, y}, {w, h}}", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(PanelPlacement::frameFromText(QString::fromUtf8(c.text)), c.expected);
    }
}

} // namespace
