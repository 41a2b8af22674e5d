#include "platform/linux/x11/X11WindowQueries.h"

#include <QFile>
#include <algorithm>
#include <xcb/randr.h>

namespace {

QString processName(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(comm.readAll()).trimmed();
}

} // namespace

namespace X11WindowQueries {

std::optional<xcb_window_t> readActiveWindow(XcbConnection& x, const QDeadlineTimer& deadline)
{
    const auto value = x.property32(x.root(), x.ewmh()->_NET_ACTIVE_WINDOW, deadline);
    if (!value) {
        return std::nullopt;
    }
    return value->empty() ? xcb_window_t{XCB_WINDOW_NONE} : value->front();
}

// Nothing when the window has gone meanwhile (or the server did not answer).
std::optional<Windows::ActiveWindow> describe(XcbConnection& x, xcb_window_t window,
                                              const QDeadlineTimer& deadline)
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
std::optional<std::vector<uint32_t>> clientWindows(XcbConnection& x, const QDeadlineTimer& deadline)
{
    auto stacking = x.property32(x.root(), x.ewmh()->_NET_CLIENT_LIST_STACKING, deadline);
    if (stacking && stacking->empty()) {
        return x.property32(x.root(), x.ewmh()->_NET_CLIENT_LIST, deadline);
    }
    return stacking;
}

std::vector<Windows::WindowId> windowsOfProcesses(XcbConnection& x, const std::vector<qint64>& pids,
                                                  const QDeadlineTimer& deadline)
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

std::optional<ClientGeometry> clientGeometry(XcbConnection& x, xcb_window_t window,
                                             const QDeadlineTimer& deadline)
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
std::vector<QRect> rootScreens(XcbConnection& x, const QDeadlineTimer& deadline)
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
QPoint primaryOrigin(XcbConnection& x, const QDeadlineTimer& deadline)
{
    const std::vector<QRect> screens = rootScreens(x, deadline);
    return screens.empty() ? QPoint() : screens.front().topLeft();
}

// The work area of the current desktop, when the window manager publishes one.
std::optional<QRect> workArea(XcbConnection& x, const QDeadlineTimer& deadline)
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

} // namespace X11WindowQueries
