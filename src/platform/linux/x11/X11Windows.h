#pragma once

#include "platform/Windows.h"

#include <QDeadlineTimer>
#include <memory>

class QSocketNotifier;
class XcbConnection;

// The windows of an X11 desktop, the EWMH way: what the window manager publishes on the root window
// (_NET_ACTIVE_WINDOW, _NET_CLIENT_LIST_STACKING, _NET_WORKAREA…) is read, and moving, raising and activating
// are asked of it with client messages, as a pager asks. Screens are RandR's monitors.
//
// No call waits long for a server that stops answering (see XcbConnection). A call that gets no answer
// answers "nothing", and `focusedWindow` fails with 0 then; 3 (BadWindow) means the application has no
// window. Once the connection breaks, every call answers as NullWindows does and `isAvailable()` is false.
class X11Windows final : public Windows {
public:
    explicit X11Windows(std::unique_ptr<XcbConnection> connection, QObject* parent = nullptr);
    ~X11Windows() override;

    [[nodiscard]] bool isAvailable() const override;
    [[nodiscard]] std::optional<ActiveWindow> activeWindow() const override;
    [[nodiscard]] Expected<WindowId, int> focusedWindow(const ActiveWindow& remembered) const override;
    [[nodiscard]] std::vector<WindowId> windowsOf(const std::vector<qint64>& pids) const override;
    [[nodiscard]] std::optional<QRectF> frame(WindowId window) const override;
    void setPosition(WindowId window, QPointF topLeft) override;
    void setSize(WindowId window, QSizeF size) override;
    [[nodiscard]] bool isMinimized(WindowId window) const override;
    void unminimize(WindowId window) override;
    void raise(WindowId window) override;
    void activate(WindowId window) override;
    [[nodiscard]] std::vector<Screen> screens() const override;
    [[nodiscard]] std::optional<std::size_t> mainScreen() const override;

private:
    void readEvents();
    void queueActiveWindowCheck();
    void checkActiveWindow();
    // Takes the maximized and full-screen states off a window so that the window manager lets it move.
    void release(WindowId window, const QDeadlineTimer& deadline);

    std::unique_ptr<XcbConnection> m_x;
    std::unique_ptr<QSocketNotifier> m_notifier;
    WindowId m_lastActive = 0;
    bool m_activeCheckQueued = false;
};

// The windows of the display DISPLAY names: X11Windows when that display answers, NullWindows otherwise.
[[nodiscard]] std::unique_ptr<Windows> createX11Windows(QObject* parent = nullptr);
