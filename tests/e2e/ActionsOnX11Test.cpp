// End to end on a private X server (Xvfb) with the openbox window manager: tiles start, restore and place
// real windows of other processes.
#include "actions/AppActivator.h"
#include "core/ProcessUtil.h"
#include "model/TileCoding.h"
#include "platform/linux/desktop/LinuxWordings.h"
#include "platform/linux/desktop/LinuxWorkspace.h"
#include "platform/linux/x11/X11Windows.h"
#include "support/DeckProcess.h"
#include "support/FakeDevices.h"
#include "support/PrivateSession.h"
#include "support/TempHome.h"
#include "support/XvfbSession.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <cstring>
#include <xcb/xcb.h>

namespace {

const QString testWindow = QStringLiteral(MARQUETTO_TEST_WINDOW_PATH);

// Minimizes a window as its own application would: by asking the window manager for the iconic state.
void minimize(Windows::WindowId window)
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const char name[] = "WM_CHANGE_STATE";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window);
    message.type = atom->atom;
    message.data.data32[0] = 3; // IconicState
    free(atom);
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    xcb_disconnect(connection);
}

std::string describe(const std::optional<QRectF>& frame)
{
    if (!frame)
        return "no frame";
    return QStringLiteral("%1,%2 %3×%4")
        .arg(frame->x())
        .arg(frame->y())
        .arg(frame->width())
        .arg(frame->height())
        .toStdString();
}

class ActionsOnX11 : public TempHome {
protected:
    void SetUp() override
    {
        if (const QStringList missing = XvfbSession::missingPrograms(); !missing.isEmpty())
            GTEST_SKIP() << "needs " << missing.join(QStringLiteral(", ")).toStdString();
        ASSERT_TRUE(m_desktop.isReady()) << m_desktop.error().toStdString();
        ASSERT_TRUE(m_session.start()) << m_session.error().toStdString();
        m_windows = createX11Windows();
        ASSERT_TRUE(m_windows->isAvailable());
    }

    void TearDown() override
    {
        for (const qint64 pid : m_started)
            ::kill(static_cast<pid_t>(pid), SIGTERM);
    }

    PrivateSession m_desktop;
    XvfbSession m_session;
    std::unique_ptr<Windows> m_windows;
    std::vector<qint64> m_started;
};

TEST_F(ActionsOnX11, AnApplicationTileStartsItsApplicationAndThenRestoresItsMinimizedWindow)
{
    // A copy of its own, so that test windows of other tests running at the same time are not this one's.
    const QString program = m_dir.filePath(QStringLiteral("bin/tile's app"));
    QDir().mkpath(m_dir.filePath(QStringLiteral("bin")));
    ASSERT_TRUE(QFile::copy(testWindow, program));
    const QString entry = m_dir.filePath(QStringLiteral("applications/test window.desktop"));
    writeFile(entry, QStringLiteral(
                         "[Desktop Entry]\nType=Application\nName=Test Window\nExec=\"%1\" \"Tile's App\"\n")
                         .arg(program)
                         .toUtf8());
    ProcessUtil processes;
    LinuxWorkspace workspace(m_paths, processes, [] { return QStringList(); });
    Preferences preferences(m_paths.preferencesFile());
    FakeAlertPresenter alerts;
    AppActivator apps({workspace, *m_windows, preferences, alerts, linuxWordings()});

    apps.launch(entry);
    std::vector<Windows::WindowId> windows;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            m_started = workspace.runningProcessesOf(entry);
            windows = m_windows->windowsOf(m_started);
            return windows.size() == 1;
        },
        10000));
    const Windows::WindowId window = windows.front();
    // The window manager gives a new window the focus once it has taken it in.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto active = m_windows->activeWindow();
            return active && active->window == window;
        },
        5000));

    // A request that reaches the window manager while it is still settling the new window can go unheeded:
    // ask until it is done.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            minimize(window);
            return m_windows->isMinimized(window);
        },
        5000));
    apps.launch(entry);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const auto active = m_windows->activeWindow();
            return !m_windows->isMinimized(window) && active && active->window == window;
        },
        5000));
    // Brought back, not started a second time; and no permission to ask for.
    EXPECT_EQ(workspace.runningProcessesOf(entry).size(), 1u);
    EXPECT_TRUE(alerts.shown.empty());
}

TEST_F(ActionsOnX11, SnapTilesRunFromTheCompanionPlaceTheActiveWindowOfAnotherApplication)
{
    QProcess other;
    other.start(testWindow, {QStringLiteral("Other")});
    ASSERT_TRUE(other.waitForStarted());
    m_started.push_back(other.processId());
    std::optional<Windows::ActiveWindow> active;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            active = m_windows->activeWindow();
            return active && active->pid == other.processId();
        },
        10000));
    EXPECT_EQ(active->appName, QStringLiteral("TestWindow"));

    Tile left;
    left.action = TileAction{TileAction::RunSystemAction{SystemAction::snapLeft}};
    Tile centre;
    centre.action = TileAction{TileAction::RunSystemAction{SystemAction::snapCentre}};
    writeFile(m_paths.tilesFile(), TileCoding::layoutBytes({{left, centre}}));

    const auto runSlot = [&](int index) {
        const DeckRun run =
            runDeck(m_dir.path(), {QStringLiteral("run"), QStringLiteral("0"), QString::number(index)});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
    };

    // The 1280 × 800 screen has no panels: halves are 640 wide and 688 (86 %) high, 56 from the top.
    runSlot(0);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return m_windows->frame(active->window) == QRectF(0, 56, 640, 688); }, 5000))
        << describe(m_windows->frame(active->window));
    runSlot(1);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return m_windows->frame(active->window) == QRectF(205, 56, 870, 688); }, 5000))
        << describe(m_windows->frame(active->window));
}

} // namespace
