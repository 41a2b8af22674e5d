#include "platform/linux/x11/X11Windows.h"

#include "core/Logging.h"
#include "core/MainThread.h"
#include "platform/linux/x11/X11WindowQueries.h"
#include "platform/linux/x11/XcbConnection.h"

#include <QRect>
#include <QSocketNotifier>
#include <algorithm>
#include <thread>

namespace {

constexpr int badWindow = 3;        // X's BadWindow error code
constexpr int noAnswer = 0;         // as NullWindows answers
constexpr uint32_t iconicState = 3; // ICCCM WM_STATE IconicState
constexpr auto openTimeout = std::chrono::seconds(2);
constexpr auto releasePoll = std::chrono::milliseconds(2);
constexpr auto frameSettle = std::chrono::milliseconds(150);

using Deadline = QDeadlineTimer;
using namespace X11WindowQueries;

bool contains(const std::vector<uint32_t>& values, uint32_t value)
{
    return std::find(values.begin(), values.end(), value) != values.end();
}

} // namespace

X11Windows::X11Windows(std::unique_ptr<XcbConnection> connection, QObject* parent)
    : Windows(parent)
    , m_x(std::move(connection))
{
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_x->get(), m_x->root(), XCB_CW_EVENT_MASK, &events);
    m_x->setEventHandler([this](const xcb_generic_event_t& event) {
        if ((event.response_type & 0x7f) != XCB_PROPERTY_NOTIFY) {
            return;
        }
        const auto& change = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (change.window == m_x->root() && change.atom == m_x->ewmh()->_NET_ACTIVE_WINDOW) {
            queueActiveWindowCheck();
        }
    });
    m_notifier = std::make_unique<QSocketNotifier>(m_x->fileDescriptor(), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &X11Windows::readEvents);
    m_lastActive = readActiveWindow(*m_x, m_x->deadline()).value_or(XCB_WINDOW_NONE);
}

X11Windows::~X11Windows() = default;

bool X11Windows::isAvailable() const
{
    return !m_x->isBroken();
}

void X11Windows::readEvents()
{
    m_x->readEvents();
    if (m_x->isBroken()) {
        m_notifier->setEnabled(false); // the socket reads as ready for ever once the server is gone
    }
}

// Events also arrive while a call waits for its replies, inside that call: the check runs afterwards, from
// the event loop, so that no slot of activeWindowChanged runs in the middle of another call.
void X11Windows::queueActiveWindowCheck()
{
    if (m_activeCheckQueued) {
        return;
    }
    m_activeCheckQueued = true;
    MainThread::later(this, [this] {
        m_activeCheckQueued = false;
        checkActiveWindow();
    });
}

void X11Windows::checkActiveWindow()
{
    if (m_x->isBroken()) {
        return;
    }
    const Deadline deadline = m_x->deadline();
    const auto window = readActiveWindow(*m_x, deadline);
    if (!window || *window == m_lastActive) {
        return;
    }
    m_lastActive = *window;
    if (*window == XCB_WINDOW_NONE) {
        return;
    }
    if (const auto active = describe(*m_x, *window, deadline)) {
        Q_EMIT activeWindowChanged(*active);
    }
}

std::optional<Windows::ActiveWindow> X11Windows::activeWindow() const
{
    if (m_x->isBroken()) {
        return std::nullopt;
    }
    const Deadline deadline = m_x->deadline();
    const auto window = readActiveWindow(*m_x, deadline);
    if (!window || *window == XCB_WINDOW_NONE) {
        return std::nullopt;
    }
    return describe(*m_x, *window, deadline);
}

Expected<Windows::WindowId, int> X11Windows::focusedWindow(const ActiveWindow& remembered) const
{
    if (m_x->isBroken()) {
        return Unexpected{noAnswer};
    }
    const Deadline deadline = m_x->deadline();
    const auto clients = m_x->property32(m_x->root(), m_x->ewmh()->_NET_CLIENT_LIST, deadline);
    if (!clients) {
        return Unexpected{noAnswer};
    }
    if (remembered.window != XCB_WINDOW_NONE && remembered.window <= UINT32_MAX &&
        contains(*clients, static_cast<uint32_t>(remembered.window))) {
        return remembered.window;
    }
    const auto windows =
        remembered.pid > 0 ? windowsOfProcesses(*m_x, {remembered.pid}, deadline) : std::vector<WindowId>();
    if (windows.empty()) {
        return Unexpected{badWindow};
    }
    return windows.front();
}

std::vector<Windows::WindowId> X11Windows::windowsOf(const std::vector<qint64>& pids) const
{
    if (m_x->isBroken()) {
        return {};
    }
    return windowsOfProcesses(*m_x, pids, m_x->deadline());
}

std::optional<QRectF> X11Windows::frame(WindowId window) const
{
    if (m_x->isBroken()) {
        return std::nullopt;
    }
    const Deadline deadline = m_x->deadline();
    const auto geometry = clientGeometry(*m_x, static_cast<xcb_window_t>(window), deadline);
    if (!geometry) {
        return std::nullopt;
    }
    const Margins& m = geometry->frame;
    const QRect outer = geometry->client.adjusted(-m.left, -m.top, m.right, m.bottom);
    return QRectF(outer.translated(-primaryOrigin(*m_x, deadline)));
}

// The frame changes with these states (openbox, for one, drops a full-screen window's decorations), so the
// sizes computed after this must wait until the window manager has taken them off.
void X11Windows::release(WindowId window, const Deadline& deadline)
{
    const auto id = static_cast<xcb_window_t>(window);
    xcb_ewmh_connection_t* ewmh = m_x->ewmh();
    const auto pinned = [ewmh](const std::optional<std::vector<uint32_t>>& states) {
        return states && (contains(*states, ewmh->_NET_WM_STATE_MAXIMIZED_VERT) ||
                          contains(*states, ewmh->_NET_WM_STATE_MAXIMIZED_HORZ) ||
                          contains(*states, ewmh->_NET_WM_STATE_FULLSCREEN));
    };
    auto states = m_x->property32(id, ewmh->_NET_WM_STATE, deadline);
    if (!pinned(states)) {
        return;
    }
    const auto pinnedExtents = m_x->property32(id, ewmh->_NET_FRAME_EXTENTS, deadline);
    xcb_ewmh_request_change_wm_state(ewmh, m_x->screenNumber(), id, XCB_EWMH_WM_STATE_REMOVE,
                                     ewmh->_NET_WM_STATE_MAXIMIZED_VERT, ewmh->_NET_WM_STATE_MAXIMIZED_HORZ,
                                     XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER);
    xcb_ewmh_request_change_wm_state(ewmh, m_x->screenNumber(), id, XCB_EWMH_WM_STATE_REMOVE,
                                     ewmh->_NET_WM_STATE_FULLSCREEN, XCB_ATOM_NONE,
                                     XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER);
    m_x->flush();
    while (pinned(states) && !deadline.hasExpired()) {
        std::this_thread::sleep_for(releasePoll);
        states = m_x->property32(id, ewmh->_NET_WM_STATE, deadline);
    }
    // The state may be announced before the decorations come back; a window manager that keeps the same
    // frame in every state is given a moment only.
    const QDeadlineTimer settle(frameSettle);
    while (!settle.hasExpired() && !deadline.hasExpired() &&
           m_x->property32(id, ewmh->_NET_FRAME_EXTENTS, deadline) == pinnedExtents) {
        std::this_thread::sleep_for(releasePoll);
    }
}

// With NorthWest gravity the window manager puts the outer frame's top-left corner where asked.
void X11Windows::setPosition(WindowId window, QPointF topLeft)
{
    if (m_x->isBroken()) {
        return;
    }
    const Deadline deadline = m_x->deadline();
    release(window, deadline);
    const QPoint position = topLeft.toPoint() + primaryOrigin(*m_x, deadline);
    xcb_ewmh_request_moveresize_window(m_x->ewmh(), m_x->screenNumber(), static_cast<xcb_window_t>(window),
                                       XCB_GRAVITY_NORTH_WEST, XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER,
                                       static_cast<xcb_ewmh_moveresize_window_opt_flags_t>(
                                           XCB_EWMH_MOVERESIZE_WINDOW_X | XCB_EWMH_MOVERESIZE_WINDOW_Y),
                                       static_cast<uint32_t>(position.x()),
                                       static_cast<uint32_t>(position.y()), 0, 0);
    m_x->flush();
}

// The size asked of the window manager is the client's: the outer size less the frame.
void X11Windows::setSize(WindowId window, QSizeF size)
{
    if (m_x->isBroken()) {
        return;
    }
    const Deadline deadline = m_x->deadline();
    release(window, deadline);
    const auto geometry = clientGeometry(*m_x, static_cast<xcb_window_t>(window), deadline);
    if (!geometry) {
        return;
    }
    const Margins& m = geometry->frame;
    const QSize outer = size.toSize();
    const int width = std::max(1, outer.width() - m.left - m.right);
    const int height = std::max(1, outer.height() - m.top - m.bottom);
    xcb_ewmh_request_moveresize_window(
        m_x->ewmh(), m_x->screenNumber(), static_cast<xcb_window_t>(window), XCB_GRAVITY_NORTH_WEST,
        XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER,
        static_cast<xcb_ewmh_moveresize_window_opt_flags_t>(XCB_EWMH_MOVERESIZE_WINDOW_WIDTH |
                                                            XCB_EWMH_MOVERESIZE_WINDOW_HEIGHT),
        0, 0, static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    m_x->flush();
}

bool X11Windows::isMinimized(WindowId window) const
{
    if (m_x->isBroken()) {
        return false;
    }
    const Deadline deadline = m_x->deadline();
    const unsigned int statesRequest =
        m_x->requestProperty(static_cast<xcb_window_t>(window), m_x->ewmh()->_NET_WM_STATE);
    const unsigned int wmStateRequest =
        m_x->requestProperty(static_cast<xcb_window_t>(window), m_x->wmStateAtom(), 2);
    const auto states = m_x->values32(statesRequest, deadline);
    const auto wmState = m_x->values32(wmStateRequest, deadline);
    return (states && contains(*states, m_x->ewmh()->_NET_WM_STATE_HIDDEN)) ||
           (wmState && !wmState->empty() && wmState->front() == iconicState);
}

// Window managers that follow EWMH de-iconify a window they are asked to activate.
void X11Windows::unminimize(WindowId window)
{
    activate(window);
}

void X11Windows::activate(WindowId window)
{
    if (m_x->isBroken()) {
        return;
    }
    xcb_ewmh_request_change_active_window(m_x->ewmh(), m_x->screenNumber(), static_cast<xcb_window_t>(window),
                                          XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER, XCB_CURRENT_TIME,
                                          XCB_WINDOW_NONE);
    m_x->flush();
}

void X11Windows::raise(WindowId window)
{
    if (m_x->isBroken()) {
        return;
    }
    const auto supported = m_x->property32(m_x->root(), m_x->ewmh()->_NET_SUPPORTED, m_x->deadline());
    if (supported && contains(*supported, m_x->ewmh()->_NET_RESTACK_WINDOW)) {
        xcb_ewmh_request_restack_window(m_x->ewmh(), m_x->screenNumber(), static_cast<xcb_window_t>(window),
                                        XCB_WINDOW_NONE, XCB_STACK_MODE_ABOVE);
    } else {
        const uint32_t above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(m_x->get(), static_cast<xcb_window_t>(window), XCB_CONFIG_WINDOW_STACK_MODE,
                             &above);
    }
    m_x->flush();
}

std::vector<Windows::Screen> X11Windows::screens() const
{
    if (m_x->isBroken()) {
        return {};
    }
    const Deadline deadline = m_x->deadline();
    const std::vector<QRect> frames = rootScreens(*m_x, deadline);
    if (frames.empty()) {
        return {};
    }
    const auto area = workArea(*m_x, deadline);
    // Root coordinates point down from the root window's top-left corner; screens are measured up from the
    // bottom-left corner of the first one.
    const QRect& primary = frames.front();
    const int bottom = primary.y() + primary.height();
    const auto yUp = [&](const QRect& r) { return flipped(QRectF(r.translated(-primary.x(), 0)), bottom); };
    std::vector<Screen> screens;
    screens.reserve(frames.size());
    for (const QRect& frame : frames) {
        const QRect visible = area ? frame.intersected(*area) : frame;
        screens.push_back({yUp(frame), yUp(visible.isEmpty() ? frame : visible)});
    }
    return screens;
}

std::optional<std::size_t> X11Windows::mainScreen() const
{
    if (m_x->isBroken()) {
        return std::nullopt;
    }
    const Deadline deadline = m_x->deadline();
    const std::vector<QRect> frames = rootScreens(*m_x, deadline);
    if (frames.empty()) {
        return std::nullopt;
    }
    const auto pointer =
        m_x->reply<xcb_query_pointer_reply_t>(xcb_query_pointer(m_x->get(), m_x->root()).sequence, deadline);
    if (pointer) {
        const QPoint at(pointer->root_x, pointer->root_y);
        const auto holding =
            std::find_if(frames.begin(), frames.end(), [&](const QRect& r) { return r.contains(at); });
        if (holding != frames.end()) {
            return static_cast<std::size_t>(holding - frames.begin());
        }
    }
    return 0;
}

std::unique_ptr<Windows> createX11Windows(QObject* parent)
{
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty()) {
        return std::make_unique<NullWindows>(parent);
    }
    auto connection = XcbConnection::open(display, openTimeout);
    if (!connection) {
        qCWarning(lcPlatform).noquote()
            << "Marquetto: couldn't reach the X display" << QString::fromLocal8Bit(display);
        return std::make_unique<NullWindows>(parent);
    }
    return std::make_unique<X11Windows>(std::move(connection), parent);
}
