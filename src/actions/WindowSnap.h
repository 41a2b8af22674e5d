#pragma once

#include "platform/Windows.h"

#include <QObject>
#include <QRectF>
#include <optional>
#include <vector>

// Places the frontmost window of another application: left or right half, full, or centred. Pressing a
// tile may make the deck itself frontmost, so the last other application that was active is remembered
// and acted on instead. Main thread only.
class WindowSnap final : public QObject {
    Q_OBJECT

public:
    enum class Position { left, right, full, centre };

    // `ownPid` is this process: its windows are never the target. In a Wayland session only the windows
    // of X11 programs can be seen and moved; a native Wayland window in front is none of them.
    WindowSnap(Windows& windows, qint64 ownPid, bool waylandSession = false, QObject* parent = nullptr);

    // Starts following the active window; calling it again does nothing.
    void startTrackingFrontmost();
    // Answers whether a window was placed; why not is logged.
    bool snap(Position position);

    // The target rectangle of a position inside a screen's visible frame (y up): halves and the centred
    // window are 86 % of the visible height and vertically centred.
    [[nodiscard]] static QRectF frame(Position position, const QRectF& visible);

    // The screen holding the larger part of the rectangle (the earlier one on a tie); when it holds none,
    // the main screen, or the first; nothing without screens.
    [[nodiscard]] static std::optional<std::size_t>
    screenContaining(const QRectF& rect, const std::vector<Windows::Screen>& screens,
                     std::optional<std::size_t> mainScreen);

private:
    void remember(const Windows::ActiveWindow& window);
    [[nodiscard]] std::optional<Windows::ActiveWindow> target() const;

    Windows& m_windows;
    qint64 m_ownPid = 0;
    bool m_waylandSession = false;
    bool m_tracking = false;
    std::optional<Windows::ActiveWindow> m_lastOther;
};
