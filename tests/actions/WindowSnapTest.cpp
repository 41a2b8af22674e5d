#include "actions/WindowSnap.h"

#include "support/FakeWindows.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

namespace {

using Position = WindowSnap::Position;
constexpr qint64 ownPid = 100;

TEST(WindowSnapGeometry, ScreenHoldingTheLargerPartWins)
{
    const std::vector<Windows::Screen> screens{
        {QRectF(0, 0, 1000, 800), QRectF(0, 0, 1000, 770)},
        {QRectF(1000, 0, 1000, 800), QRectF(1000, 0, 1000, 800)},
    };
    EXPECT_EQ(WindowSnap::screenContaining(QRectF(900, 100, 400, 300), screens, 0), 1u);
    EXPECT_EQ(WindowSnap::screenContaining(QRectF(800, 100, 400, 300), screens, 1), 0u); // a tie
    EXPECT_EQ(WindowSnap::screenContaining(QRectF(5000, 5000, 10, 10), screens, 1), 1u);
    EXPECT_EQ(WindowSnap::screenContaining(QRectF(5000, 5000, 10, 10), screens, std::nullopt), 0u);
    EXPECT_EQ(WindowSnap::screenContaining(QRectF(0, 0, 10, 10), {}, std::nullopt), std::nullopt);
}

class WindowSnapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // One 1440 × 900 screen with a 25-point bar at its top: the work area starts at y = 25 going down.
        m_windows.screenList = {{QRectF(0, 0, 1440, 900), QRectF(0, 0, 1440, 875)}};
        m_windows.frames.insert(editorWindow, QRectF(300, 200, 600, 400));
        m_windows.owners.insert(editorWindow, editor.pid);
        m_windows.stacking = {editorWindow};
    }

    static constexpr Windows::WindowId editorWindow = 11;
    const Windows::ActiveWindow editor{editorWindow, 200, QStringLiteral("Editor")};
    const Windows::ActiveWindow deck{99, ownPid, QStringLiteral("Marquetto")};
    FakeWindows m_windows;
    WindowSnap m_snap{m_windows, ownPid};
};

TEST_F(WindowSnapTest, TheLastOtherApplicationsWindowIsPlacedWhenTheDeckIsFrontmost)
{
    m_snap.startTrackingFrontmost();
    m_windows.activateFromOutside(editor);
    m_windows.activateFromOutside(deck);
    EXPECT_TRUE(m_snap.snap(Position::left));

    // Left half of the visible frame (y up: 0…875), 86 % high, centred: y up 61 → y down 900 − 61 − 753.
    EXPECT_EQ(m_windows.log,
              (QStringList{QStringLiteral("position 11 0,86"), QStringLiteral("size 11 720x753"),
                           QStringLiteral("position 11 0,86")}));
    EXPECT_EQ(m_windows.frames.value(editorWindow), QRectF(0, 86, 720, 753));
}

TEST_F(WindowSnapTest, AnX11WindowInFrontOfAWaylandSessionIsPlaced)
{
    WindowSnap snap(m_windows, ownPid, true);
    m_windows.active = editor;
    EXPECT_TRUE(snap.snap(Position::full));
    EXPECT_EQ(m_windows.frames.value(editorWindow), QRectF(0, 25, 1440, 875));
}

TEST_F(WindowSnapTest, FailuresAreLoggedAndMoveNothing)
{
    const struct {
        const char* name;
        std::function<void(FakeWindows&, WindowSnap&)> arrange;
        const char* logged;
        bool wayland = false;
    } cases[] = {
        {"no display", [](FakeWindows& w, WindowSnap&) { w.available = false; },
         "Marquetto snap: no Accessibility access, prompting"},
        {"nothing tracked",
         [this](FakeWindows& w, WindowSnap& s) {
             w.active = deck;
             s.startTrackingFrontmost();
         },
         "Marquetto snap: no target app (frontmost is Marquetto and nothing tracked yet)"},
        {"window gone",
         [](FakeWindows& w, WindowSnap&) {
             w.active = {77, 300, QString()};
         },
         "Marquetto snap: no focused window for ? (AXError 3)"},
        {"no screens",
         [this](FakeWindows& w, WindowSnap&) {
             w.active = editor;
             w.screenList.clear();
         },
         "Marquetto snap: couldn't read the window's frame"},
        {"native Wayland window in front",
         [this](FakeWindows& w, WindowSnap& s) {
             w.active = editor;
             s.startTrackingFrontmost();
             w.active.reset();
         },
         "Marquetto snap: the frontmost window is a native Wayland window, which only the desktop can move",
         true},
    };
    for (const auto& c : cases) {
        FakeWindows windows;
        windows.screenList = m_windows.screenList;
        windows.frames = m_windows.frames;
        windows.owners = m_windows.owners;
        windows.stacking = m_windows.stacking;
        WindowSnap snap(windows, ownPid, c.wayland);
        c.arrange(windows, snap);
        const LogCapture log;
        EXPECT_FALSE(snap.snap(Position::full)) << c.name;
        EXPECT_EQ(log.lines(), QStringList{QString::fromUtf8(c.logged)}) << c.name;
        EXPECT_TRUE(windows.log.isEmpty()) << c.name;
    }
}

} // namespace
