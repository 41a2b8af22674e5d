#pragma once

#include "platform/Windows.h"
#include "platform/linux/x11/XcbConnection.h"

#include <QDeadlineTimer>
#include <QRect>
#include <optional>
#include <vector>

// What the windows service reads from the X server: the active window, the client windows and their frames,
// the monitors and the work area. Each call waits for its answers no longer than `deadline`.
namespace X11WindowQueries {

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

// The window the window manager calls active; none (XCB_WINDOW_NONE) when it names none.
[[nodiscard]] std::optional<xcb_window_t> readActiveWindow(XcbConnection& x, const QDeadlineTimer& deadline);

// Nothing when the window has gone meanwhile (or the server did not answer).
[[nodiscard]] std::optional<Windows::ActiveWindow> describe(XcbConnection& x, xcb_window_t window,
                                                            const QDeadlineTimer& deadline);

// The client windows, bottom to top when the window manager says.
[[nodiscard]] std::optional<std::vector<uint32_t>> clientWindows(XcbConnection& x,
                                                                 const QDeadlineTimer& deadline);

// The client windows of those processes, top to bottom.
[[nodiscard]] std::vector<Windows::WindowId>
windowsOfProcesses(XcbConnection& x, const std::vector<qint64>& pids, const QDeadlineTimer& deadline);

// Where the client sits and what its frame adds; nothing when the window has gone.
[[nodiscard]] std::optional<ClientGeometry> clientGeometry(XcbConnection& x, xcb_window_t window,
                                                           const QDeadlineTimer& deadline);

// The monitors in root coordinates, the primary one first.
[[nodiscard]] std::vector<QRect> rootScreens(XcbConnection& x, const QDeadlineTimer& deadline);

// Where the interface's coordinates start in root coordinates: the primary monitor's top-left corner.
[[nodiscard]] QPoint primaryOrigin(XcbConnection& x, const QDeadlineTimer& deadline);

// The work area of the current desktop, when the window manager publishes one.
[[nodiscard]] std::optional<QRect> workArea(XcbConnection& x, const QDeadlineTimer& deadline);

} // namespace X11WindowQueries
