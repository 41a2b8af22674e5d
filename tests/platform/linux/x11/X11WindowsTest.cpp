#include "platform/linux/x11/X11Windows.h"

#include "actions/WindowSnap.h"
#include "platform/linux/x11/XcbConnection.h"
#include "support/LogCapture.h"
#include "support/X11Client.h"
#include "support/XvfbSession.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QRect>
#include <QThread>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/uio.h>
#include <unistd.h>
#include <xcb/randr.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

// Readable failures.
void PrintTo(const QRectF& r, std::ostream* out)
{
    *out << "QRectF(" << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height() << ")";
}
void PrintTo(const Windows::Screen& screen, std::ostream* out)
{
    PrintTo(screen.frame, out);
    *out << " visible ";
    PrintTo(screen.visibleFrame, out);
}
void PrintTo(const Windows::ActiveWindow& active, std::ostream* out)
{
    *out << "window " << active.window << " pid " << active.pid << " " << active.appName.toStdString();
}

namespace {

using namespace std::chrono_literals;

constexpr uint32_t appPid = 4242;
const QByteArray geditClass("gedit\0Gedit\0", 12);

class X11WindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const QStringList missing = XvfbSession::missingPrograms(); !missing.isEmpty())
            GTEST_SKIP() << "needs " << missing.join(QStringLiteral(", ")).toStdString()
                         << " (scripts/bootstrap installs them)";
        ASSERT_TRUE(m_session.start()) << m_session.error().toStdString();
        m_client = std::make_unique<X11Client>();
        m_windows = createX11Windows();
        ASSERT_TRUE(m_windows->isAvailable());
    }

    // An application window, framed and given the focus by the window manager.
    xcb_window_t appWindow(uint32_t pid = appPid, const QByteArray& wmClass = geditClass)
    {
        const xcb_window_t window = m_client->map({40, 50, 320, 200}, pid, wmClass);
        EXPECT_TRUE(eventually([&] { return m_client->managed(window) && m_client->active() == window; }));
        return window;
    }

    XvfbSession m_session;
    std::unique_ptr<X11Client> m_client;
    std::unique_ptr<Windows> m_windows;
};

// --- The active window

TEST_F(X11WindowsTest, SignalsEachActivationWithTheWindowsPidAndClassName)
{
    std::vector<Windows::ActiveWindow> seen;
    QObject::connect(m_windows.get(), &Windows::activeWindowChanged,
                     [&](const Windows::ActiveWindow& active) { seen.push_back(active); });
    const xcb_window_t first = appWindow(11);
    const xcb_window_t second = appWindow(12);
    ASSERT_TRUE(eventually([&] { return !seen.empty() && seen.back().window == second; }));
    seen.clear();

    m_windows->activate(first);
    ASSERT_TRUE(eventually([&] { return !seen.empty(); }));
    const xcb_window_t third = appWindow(13);
    ASSERT_TRUE(eventually([&] { return seen.size() >= 2; }));
    EXPECT_EQ(seen, (std::vector<Windows::ActiveWindow>{{first, 11, QStringLiteral("Gedit")},
                                                        {third, 13, QStringLiteral("Gedit")}}));
}

// --- Frames, moving and sizing

TEST_F(X11WindowsTest, PlacesTheOuterFrameExactlyWhateverTheWindowState)
{
    struct Case {
        const char* name;
        std::vector<const char*> states; // asked of the window manager first, in one request: two at most
    };
    const Case cases[] = {
        {"normal", {}},
        {"maximized", {"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"}},
        {"full screen", {"_NET_WM_STATE_FULLSCREEN"}},
    };
    const QRectF wanted(100, 120, 500, 300);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const xcb_window_t window = appWindow();
        if (!c.states.empty()) {
            std::array<uint32_t, 5> request{1 /* add */, 0, 0, 1, 0};
            std::transform(c.states.begin(), c.states.end(), request.begin() + 1,
                           [this](const char* state) { return m_client->atom(state); });
            const auto normalFrame = m_client->get(window, "_NET_FRAME_EXTENTS");
            m_client->ask(window, "_NET_WM_STATE", request);
            // openbox announces the state before it redecorates; the deck is asked only once it has.
            ASSERT_TRUE(eventually([&] {
                const auto now = m_client->get(window, "_NET_WM_STATE");
                return std::all_of(request.begin() + 1, request.begin() + 1 + c.states.size(),
                                   [&](uint32_t atom) {
                                       return std::find(now.begin(), now.end(), atom) != now.end();
                                   }) &&
                       m_client->get(window, "_NET_FRAME_EXTENTS") != normalFrame;
            }));
        }
        m_windows->setPosition(window, wanted.topLeft());
        m_windows->setSize(window, wanted.size());
        eventually([&] { return m_windows->frame(window) == wanted; });
        EXPECT_EQ(m_windows->frame(window), wanted);
        m_client->destroy(window);
    }
}

// --- Finding an application's windows

TEST_F(X11WindowsTest, FallsBackToTheAppsTopmostWindowWhenTheRememberedOneIsGone)
{
    const xcb_window_t gone = appWindow(77);
    const xcb_window_t lower = appWindow(77);
    const xcb_window_t upper = appWindow(77);
    appWindow(78);
    const auto remembered = m_windows->focusedWindow({gone, 77, {}});
    ASSERT_TRUE(remembered.hasValue());
    EXPECT_EQ(*remembered, gone);

    m_client->destroy(gone);
    m_windows->raise(lower);
    ASSERT_TRUE(eventually([&] {
        return m_windows->windowsOf({77}) == std::vector<Windows::WindowId>{lower, upper};
    }));
    const auto focused = m_windows->focusedWindow({gone, 77, {}});
    ASSERT_TRUE(focused.hasValue());
    EXPECT_EQ(*focused, lower);
}

TEST_F(X11WindowsTest, FailsWithBadWindowForAnAppWithoutWindows)
{
    const xcb_window_t other = appWindow(78);
    m_client->destroy(other);
    // The window manager drops the window from its client list a moment after it is gone.
    ASSERT_TRUE(eventually([&] { return !m_windows->focusedWindow({other, 77, {}}).hasValue(); }));
    const auto focused = m_windows->focusedWindow({other, 77, {}});
    EXPECT_EQ(focused.error(), 3);
    EXPECT_TRUE(m_windows->windowsOf({77}).empty());
}

// --- Screens

TEST_F(X11WindowsTest, ADockAtTheBottomRaisesTheVisibleFrame)
{
    m_client->map({0, 760, 1280, 40}, 0, {}, true);
    // y up: a 40-pixel dock at the bottom leaves the visible frame starting 40 pixels up.
    const Windows::Screen expected{QRectF(0, 0, 1280, 800), QRectF(0, 40, 1280, 760)};
    EXPECT_TRUE(eventually([&] { return m_windows->screens() == std::vector<Windows::Screen>{expected}; }));
}

// --- Several monitors

// Lays the display out as these monitors (root coordinates), the first one primary. The first takes over the
// server's one output, which would otherwise count as a monitor of its own. The request is put together here:
// libxcb's own SetMonitor request trips over its variable-length part.
void setMonitors(X11Client& client, const std::vector<QRect>& monitors)
{
    xcb_connection_t* c = client.connection();
    std::free(xcb_randr_query_version_reply(c, xcb_randr_query_version(c, 1, 5), nullptr));
    auto* resources = xcb_randr_get_screen_resources_current_reply(
        c, xcb_randr_get_screen_resources_current(c, client.root()), nullptr);
    ASSERT_NE(resources, nullptr);
    ASSERT_GT(xcb_randr_get_screen_resources_current_outputs_length(resources), 0);
    const xcb_randr_output_t output = xcb_randr_get_screen_resources_current_outputs(resources)[0];
    std::free(resources);
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const QRect& m = monitors[i];
        xcb_randr_set_monitor_request_t head{};
        head.window = client.root();
        xcb_randr_monitor_info_t info{};
        info.name =
            client.atom(QByteArray("M").append(QByteArray::number(static_cast<qulonglong>(i))).constData());
        info.primary = i == 0 ? 1 : 0;
        info.nOutput = i == 0 ? 1 : 0;
        info.x = static_cast<int16_t>(m.x());
        info.y = static_cast<int16_t>(m.y());
        info.width = static_cast<uint16_t>(m.width());
        info.height = static_cast<uint16_t>(m.height());
        info.width_in_millimeters = static_cast<uint32_t>(m.width() / 4);
        info.height_in_millimeters = static_cast<uint32_t>(m.height() / 4);
        QByteArray request(reinterpret_cast<const char*>(&head), sizeof head);
        request.append(reinterpret_cast<const char*>(&info), sizeof info);
        if (info.nOutput != 0)
            request.append(reinterpret_cast<const char*>(&output), sizeof output);
        std::array<iovec, 3> parts{}; // xcb writes before the first part it is given
        parts[2] = {request.data(), static_cast<std::size_t>(request.size())};
        xcb_protocol_request_t protocol{1, &xcb_randr_id, XCB_RANDR_SET_MONITOR, 1};
        const xcb_void_cookie_t cookie{xcb_send_request(c, XCB_REQUEST_CHECKED, &parts[2], &protocol)};
        xcb_generic_error_t* error = xcb_request_check(c, cookie);
        EXPECT_EQ(error, nullptr) << "monitor " << i;
        std::free(error);
    }
}

// Centring a window on each monitor in turn: the window goes to the middle of the monitor it is on, whichever
// monitor is primary and wherever it lies. Frames are checked in the interface's coordinates, measured from
// the primary monitor's top-left corner.
TEST(X11WindowsMonitors, SnappingPlacesTheWindowOnItsOwnMonitor)
{
    if (const QStringList missing = XvfbSession::missingPrograms(); !missing.isEmpty())
        GTEST_SKIP() << "needs " << missing.join(QStringLiteral(", ")).toStdString()
                     << " (scripts/bootstrap installs them)";
    struct Layout {
        const char* name;
        QSize root;
        std::vector<QRect> monitors; // root coordinates, the primary first
        std::vector<QRect> centred;  // where centring puts a window on each monitor, root coordinates
    };
    const Layout layouts[] = {
        {"primary below another",
         {1280, 1600},
         {{0, 800, 1280, 800}, {0, 0, 1280, 800}},
         {{205, 856, 870, 688}, {205, 56, 870, 688}}},
        // The primary's visible frame is 1440 × 875: centred, a window is 979 × 753 at 231, 61 from its
        // corner.
        {"primary right of another",
         {2720, 875},
         {{1280, 0, 1440, 875}, {0, 0, 1280, 800}},
         {{1511, 61, 979, 753}, {205, 56, 870, 688}}},
        {"primary between two, lower than both",
         {3744, 975},
         {{1280, 100, 1440, 875}, {0, 0, 1280, 800}, {2720, 0, 1024, 768}},
         {{1511, 161, 979, 753}, {205, 56, 870, 688}, {2884, 54, 696, 660}}},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        XvfbSession session(XvfbSession::Options{layout.root, true});
        ASSERT_TRUE(session.start()) << session.error().toStdString();
        X11Client client;
        setMonitors(client, layout.monitors);
        const auto windows = createX11Windows();
        ASSERT_TRUE(eventually([&] { return windows->screens().size() == layout.monitors.size(); }));
        const QPoint origin = layout.monitors.front().topLeft();
        WindowSnap snap(*windows, QCoreApplication::applicationPid());
        for (std::size_t i = 0; i < layout.monitors.size(); ++i) {
            SCOPED_TRACE(i);
            const QRect& monitor = layout.monitors[i];
            const xcb_window_t window = client.map({40, 50, 320, 200}, appPid, geditClass);
            ASSERT_TRUE(eventually([&] { return client.managed(window) && client.active() == window; }));
            const auto flags = XCB_GRAVITY_NORTH_WEST | 1U << 8 | 1U << 9 | 2U << 12; // x, y, from a pager
            const QPoint at = monitor.topLeft() + QPoint(60, 70);
            client.ask(window, "_NET_MOVERESIZE_WINDOW",
                       {flags, static_cast<uint32_t>(at.x()), static_cast<uint32_t>(at.y()), 0, 0});
            ASSERT_TRUE(eventually([&] {
                const auto frame = windows->frame(window);
                return frame && frame->topLeft() == QPointF(at - origin);
            }));
            snap.snap(WindowSnap::Position::centre);
            const QRectF expected(layout.centred[i].translated(-origin));
            eventually([&] { return windows->frame(window) == expected; });
            EXPECT_EQ(windows->frame(window), expected);
            client.destroy(window);
        }
    }
}

// --- A display that misbehaves

TEST_F(X11WindowsTest, AWindowThatHasGoneIsAnsweredQuietly)
{
    const xcb_window_t window = appWindow();
    m_client->destroy(window);
    ASSERT_TRUE(eventually([&] { return !m_client->managed(window); }));
    const LogCapture log;
    EXPECT_EQ(m_windows->frame(window), std::nullopt);
    EXPECT_FALSE(m_windows->isMinimized(window));
    m_windows->setPosition(window, {10, 10});
    m_windows->setSize(window, {100, 100});
    m_windows->raise(window);
    m_windows->activate(window);
    EXPECT_TRUE(m_windows->isAvailable());
    EXPECT_EQ(m_windows->screens().size(), 1u);
    EXPECT_TRUE(log.lines().isEmpty()) << log.lines().join(QLatin1Char('\n')).toStdString();
}

// Every call gives up on a silent server instead of hanging, and once one did, the next ones wait a much
// shorter time for their replies, until the server answers again.
TEST_F(X11WindowsTest, AServerThatStopsAnsweringCostsLittle)
{
    const xcb_window_t window = appWindow();
    const std::unique_ptr<XcbConnection> x =
        XcbConnection::open(m_session.display(), std::chrono::seconds(5));
    ASSERT_TRUE(x);
    m_session.suspendServer();
    EXPECT_EQ(m_windows->activeWindow(), std::nullopt);
    EXPECT_TRUE(m_windows->screens().empty());
    const unsigned int focus = xcb_get_input_focus(x->get()).sequence;
    EXPECT_EQ(x->reply<xcb_get_input_focus_reply_t>(focus, x->deadline()), nullptr);
    const QDeadlineTimer silent = x->deadline();
    EXPECT_LE(silent, QDeadlineTimer(XcbConnection::silentDeadline));

    m_session.resumeServer();
    EXPECT_TRUE(
        eventually([&] { return m_windows->activeWindow() && m_windows->activeWindow()->window == window; }));
    // The late answer to the question given up on is enough: a server slower than the short deadline is
    // waited for in full again.
    EXPECT_TRUE(
        eventually([&] { return x->deadline().remainingTime() > XcbConnection::silentDeadline.count(); }));
}

TEST_F(X11WindowsTest, LosingTheDisplayMakesItUnavailable)
{
    const xcb_window_t window = appWindow();
    const LogCapture log;
    m_session.killServer();
    ASSERT_TRUE(eventually([&] { return !m_windows->isAvailable(); }));
    EXPECT_EQ(m_windows->activeWindow(), std::nullopt);
    EXPECT_EQ(m_windows->frame(window), std::nullopt);
    EXPECT_TRUE(m_windows->screens().empty());
    EXPECT_FALSE(m_windows->focusedWindow({window, appPid, {}}).hasValue());
    m_windows->setPosition(window, {0, 0});
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral("Marquetto: lost the X display")});
}

TEST(X11WindowsFactory, WithoutADisplayTheServiceIsUnavailable)
{
    const auto windows = [] {
        const NoDisplay none;
        return createX11Windows();
    }();
    EXPECT_FALSE(windows->isAvailable());
    EXPECT_EQ(windows->activeWindow(), std::nullopt);
    EXPECT_TRUE(windows->screens().empty());
}

} // namespace
