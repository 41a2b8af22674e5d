#include "WindowSnap.h"

#include "core/Logging.h"

#include <cmath>

namespace {

// Rounds half away from zero.
double roundHalfAway(double value)
{
    return std::round(value);
}

double intersectionArea(const QRectF& a, const QRectF& b)
{
    const QRectF overlap = a.intersected(b);
    return overlap.isEmpty() ? 0.0 : overlap.width() * overlap.height();
}

QString nameOf(const Windows::ActiveWindow& app)
{
    return app.appName.isEmpty() ? QStringLiteral("?") : app.appName;
}

} // namespace

WindowSnap::WindowSnap(Windows& windows, qint64 ownPid, bool waylandSession, QObject* parent)
    : QObject(parent)
    , m_windows(windows)
    , m_ownPid(ownPid)
    , m_waylandSession(waylandSession)
{
}

void WindowSnap::startTrackingFrontmost()
{
    if (m_tracking)
        return;
    m_tracking = true;
    if (const std::optional<Windows::ActiveWindow> active = m_windows.activeWindow())
        remember(*active);
    connect(&m_windows, &Windows::activeWindowChanged, this, &WindowSnap::remember);
}

void WindowSnap::remember(const Windows::ActiveWindow& window)
{
    if (window.pid != m_ownPid)
        m_lastOther = window;
}

std::optional<Windows::ActiveWindow> WindowSnap::target() const
{
    const std::optional<Windows::ActiveWindow> frontmost = m_windows.activeWindow();
    if (frontmost && frontmost->pid != m_ownPid)
        return frontmost;
    return m_lastOther;
}

bool WindowSnap::snap(Position position)
{
    if (!m_windows.isAvailable()) {
        qCWarning(lcActions) << "Marquetto snap: no Accessibility access, prompting";
        return false;
    }
    // The X11 server names no active window while a native Wayland window has the focus; the last X11
    // window seen is then not the one the user looks at.
    if (m_waylandSession && !m_windows.activeWindow()) {
        qCWarning(lcActions) << "Marquetto snap: the frontmost window is a native Wayland window, which only "
                                "the desktop can move";
        return false;
    }
    const std::optional<Windows::ActiveWindow> app = target();
    if (!app) {
        qCWarning(lcActions)
            << "Marquetto snap: no target app (frontmost is Marquetto and nothing tracked yet)";
        return false;
    }
    const Expected<Windows::WindowId, int> window = m_windows.focusedWindow(*app);
    if (!window) {
        qCWarning(lcActions).noquote()
            << QStringLiteral("Marquetto snap: no focused window for %1 (AXError %2)")
                   .arg(nameOf(*app))
                   .arg(window.error());
        return false;
    }

    const std::vector<Windows::Screen> screens = m_windows.screens();
    const double firstTop =
        screens.empty() ? 0.0 : screens.front().frame.y() + screens.front().frame.height();
    const std::optional<QRectF> windowFrame = m_windows.frame(*window);
    const std::optional<std::size_t> screen =
        windowFrame
            ? screenContaining(Windows::flipped(*windowFrame, firstTop), screens, m_windows.mainScreen())
            : std::nullopt;
    if (!windowFrame || !screen) {
        qCWarning(lcActions) << "Marquetto snap: couldn't read the window's frame";
        return false;
    }

    const QRectF placed = frame(position, screens[*screen].visibleFrame);
    const QPointF origin(placed.x(), firstTop - (placed.y() + placed.height()));
    // Applications may move themselves when resized; the second move puts the window where it belongs.
    m_windows.setPosition(*window, origin);
    m_windows.setSize(*window, placed.size());
    m_windows.setPosition(*window, origin);
    return true;
}

QRectF WindowSnap::frame(Position position, const QRectF& v)
{
    const double height = roundHalfAway(0.86 * v.height());
    const double width = roundHalfAway(0.68 * v.width());
    const double half = std::floor(0.5 * v.width());
    const double midY = v.y() + 0.5 * v.height();
    const double centredY = roundHalfAway(midY - 0.5 * height);
    switch (position) {
    case Position::left:
        return {v.x(), centredY, half, height};
    case Position::right:
        return {v.x() + v.width() - half, centredY, half, height};
    case Position::full:
        return v;
    case Position::centre:
        return {roundHalfAway(v.x() + 0.5 * v.width() - 0.5 * width), centredY, width, height};
    }
    return v;
}

std::optional<std::size_t> WindowSnap::screenContaining(const QRectF& rect,
                                                        const std::vector<Windows::Screen>& screens,
                                                        std::optional<std::size_t> mainScreen)
{
    if (!screens.empty()) {
        std::size_t best = 0;
        double bestArea = intersectionArea(screens[0].frame, rect);
        for (std::size_t i = 1; i < screens.size(); ++i) {
            const double area = intersectionArea(screens[i].frame, rect);
            if (area > bestArea) {
                best = i;
                bestArea = area;
            }
        }
        if (bestArea > 0.0)
            return best;
    }
    if (mainScreen && *mainScreen < screens.size())
        return mainScreen;
    if (!screens.empty())
        return 0;
    return std::nullopt;
}
