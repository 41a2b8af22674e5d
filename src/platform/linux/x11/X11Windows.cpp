#include "platform/linux/x11/X11Windows.h"

#include "core/Logging.h"
#include "core/MainThread.h"
#include "platform/linux/x11/XcbConnection.h"

#include <QFile>
#include <QRect>
#include <QSocketNotifier>
#include <algorithm>
#include <thread>
#include <xcb/randr.h>

namespace {

constexpr int badWindow = 3;        // X's BadWindow error code
constexpr int noAnswer = 0;         // as NullWindows answers
constexpr uint32_t iconicState = 3; // ICCCM WM_STATE IconicState
constexpr auto openTimeout = std::chrono::seconds(2);
constexpr auto releasePoll = std::chrono::milliseconds(2);
constexpr auto frameSettle = std::chrono::milliseconds(150);

using Deadline = QDeadlineTimer;

bool contains(const std::vector<uint32_t>& values, uint32_t value)
{
    return std::find(values.begin(), values.end(), value) != values.end();
}

std::optional<xcb_window_t> readActiveWindow(XcbConnection& x, const Deadline& deadline)
{
    const auto value = x.property32(x.root(), x.ewmh()->_NET_ACTIVE_WINDOW, deadline);
    if (!value) {
        return std::nullopt;
    }
    return value->empty() ? xcb_window_t{XCB_WINDOW_NONE} : value->front();
}

QString processName(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(comm.readAll()).trimmed();
}

// Nothing when the window has gone meanwhile (or the server did not answer).
std::optional<Windows::ActiveWindow> describe(XcbConnection& x, xcb_window_t window, const Deadline& deadline)
{
    const unsigned int pidRequest = x.requestProperty(window, x.ewmh()->_NET_WM_PID, 1);
    const unsigned int classRequest = x.requestProperty(window, XCB_ATOM_WM_CLASS);
    const auto pid = x.values32(pidRequest, deadline);
    const auto wmClass = x.bytes(classRequest, deadline);
    if (!pid || !wmClass) {
        return std::nullopt;
    }
    Windows::ActiveWindow active{window, pid->empty() ? 0 : pid->front(), {}};
    // WM_CLASS holds two strings, the instance name and the class name ("gedit", "Gedit").
    const QList<QByteArray> parts = wmClass->split('\0');
    if (parts.size() > 1) {
        active.appName = QString::fromLatin1(parts.at(1));
    }
    if (active.appName.isEmpty() && active.pid > 0) {
        active.appName = processName(active.pid);
    }
    return active;
}

// The client windows, bottom to top when the window manager says.
std::optional<std::vector<uint32_t>> clientWindows(XcbConnection& x, const Deadline& deadline)
{
    auto stacking = x.property32(x.root(), x.ewmh()->_NET_CLIENT_LIST_STACKING, deadline);
    if (stacking && stacking->empty()) {
        return x.property32(x.root(), x.ewmh()->_NET_CLIENT_LIST, deadline);
    }
    return stacking;
}

std::vector<Windows::WindowId> windowsOfProcesses(XcbConnection& x, const std::vector<qint64>& pids,
                                                  const Deadline& deadline)
{
    const auto clients = pids.empty() ? std::nullopt : clientWindows(x, deadline);
    if (!clients) {
        return {};
    }
    std::vector<unsigned int> requests;
    requests.reserve(clients->size());
    for (const uint32_t window : *clients) {
        requests.push_back(x.requestProperty(window, x.ewmh()->_NET_WM_PID, 1));
    }
    std::vector<Windows::WindowId> windows;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const auto windowPid = x.values32(requests[i], deadline);
        if (windowPid && !windowPid->empty() && windowPid->front() != 0 &&
            std::find(pids.begin(), pids.end(), qint64{windowPid->front()}) != pids.end()) {
            windows.push_back(clients->at(i));
        }
    }
    std::reverse(windows.begin(), windows.end());
    return windows;
}

// What the window manager adds around a client, the client's own border included.
struct Margins {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

struct ClientGeometry {
    QRect client; // in root coordinates, border excluded
    Margins frame;
};

std::optional<ClientGeometry> clientGeometry(XcbConnection& x, xcb_window_t window, const Deadline& deadline)
{
    const unsigned int geometryRequest = xcb_get_geometry(x.get(), window).sequence;
    const unsigned int originRequest = xcb_translate_coordinates(x.get(), window, x.root(), 0, 0).sequence;
    const unsigned int extentsRequest = x.requestProperty(window, x.ewmh()->_NET_FRAME_EXTENTS, 4);
    const auto geometry = x.reply<xcb_get_geometry_reply_t>(geometryRequest, deadline);
    const auto origin = x.reply<xcb_translate_coordinates_reply_t>(originRequest, deadline);
    const auto extents = x.values32(extentsRequest, deadline);
    if (!geometry || !origin) {
        return std::nullopt;
    }
    const int border = geometry->border_width;
    Margins frame{border, border, border, border};
    if (extents && extents->size() >= 4) {
        frame.left += static_cast<int>(extents->at(0));
        frame.right += static_cast<int>(extents->at(1));
        frame.top += static_cast<int>(extents->at(2));
        frame.bottom += static_cast<int>(extents->at(3));
    }
    return ClientGeometry{QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height), frame};
}

// The monitors in root coordinates, the primary one first.
std::vector<QRect> rootScreens(XcbConnection& x, const Deadline& deadline)
{
    std::vector<QRect> screens;
    if (x.hasMonitors()) {
        const auto monitors = x.reply<xcb_randr_get_monitors_reply_t>(
            xcb_randr_get_monitors(x.get(), x.root(), 1).sequence, deadline);
        if (monitors) {
            auto it = xcb_randr_get_monitors_monitors_iterator(monitors.get());
            for (; it.rem > 0; xcb_randr_monitor_info_next(&it)) {
                const QRect rect(it.data->x, it.data->y, it.data->width, it.data->height);
                screens.insert(it.data->primary != 0 ? screens.begin() : screens.end(), rect);
            }
        }
    }
    if (screens.empty()) {
        if (const auto root =
                x.reply<xcb_get_geometry_reply_t>(xcb_get_geometry(x.get(), x.root()).sequence, deadline)) {
            screens.emplace_back(0, 0, root->width, root->height);
        }
    }
    return screens;
}

// Where the interface's coordinates start in root coordinates: the primary monitor's top-left corner.
QPoint primaryOrigin(XcbConnection& x, const Deadline& deadline)
{
    const std::vector<QRect> screens = rootScreens(x, deadline);
    return screens.empty() ? QPoint() : screens.front().topLeft();
}

// The work area of the current desktop, when the window manager publishes one.
std::optional<QRect> workArea(XcbConnection& x, const Deadline& deadline)
{
    const unsigned int desktopRequest = x.requestProperty(x.root(), x.ewmh()->_NET_CURRENT_DESKTOP, 1);
    const unsigned int areaRequest = x.requestProperty(x.root(), x.ewmh()->_NET_WORKAREA);
    const auto desktop = x.values32(desktopRequest, deadline);
    const auto areas = x.values32(areaRequest, deadline);
    const std::size_t index = desktop && !desktop->empty() ? desktop->front() : 0;
    if (!areas || areas->size() < (index + 1) * 4) {
        return std::nullopt;
    }
    const auto* area = areas->data() + index * 4;
    return QRect(static_cast<int>(area[0]), static_cast<int>(area[1]), static_cast<int>(area[2]),
                 static_cast<int>(area[3]));
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
