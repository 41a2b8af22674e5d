#pragma once

#include "core/Expected.h"

#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

// Another application's windows, as far as the desktop lets us see and move them.
//
// Every coordinate is measured in pixels from the first screen of `screens()` (the primary one), wherever
// the desktop puts that screen among the others:
// - window frames and positions from its top-left corner, y pointing down;
// - screen frames from its bottom-left corner, y pointing up (the first screen's frame starts at 0, 0).
// `flipped` about the first screen's height converts between the two. Other screens may lie at negative
// coordinates. A window frame is the outer frame, decorations included.
//
// All calls are made on the main thread. Calls on a window that has gone away fail quietly.
class Windows : public QObject {
    Q_OBJECT

public:
    using WindowId = quint64;

    // A window that was active, with the application that owns it.
    struct ActiveWindow {
        WindowId window = 0;
        qint64 pid = 0;  // 0 when the window does not say
        QString appName; // empty when unknown
        bool operator==(const ActiveWindow&) const = default;
    };

    // Mirrors a rectangle about the horizontal line `edge` high: about the first screen's height, a window
    // frame becomes a rectangle in screen-frame coordinates and back.
    [[nodiscard]] static QRectF flipped(const QRectF& rect, double edge)
    {
        return {rect.x(), edge - rect.y() - rect.height(), rect.width(), rect.height()};
    }

    struct Screen {
        QRectF frame;        // y up
        QRectF visibleFrame; // the frame minus panels and docks, y up
        bool operator==(const Screen&) const = default;
    };

    using QObject::QObject;
    ~Windows() override = default;

    // Whether windows can be seen and moved at all (an X11 display is there).
    [[nodiscard]] virtual bool isAvailable() const = 0;

    // The active window and its application, or nothing.
    [[nodiscard]] virtual std::optional<ActiveWindow> activeWindow() const = 0;

    // The window to act on for an application that was active with `remembered`: that window while it
    // exists, otherwise the application's topmost window. The error is the windowing system's error code.
    [[nodiscard]] virtual Expected<WindowId, int> focusedWindow(const ActiveWindow& remembered) const = 0;

    // The top-level windows of these processes, front to back.
    [[nodiscard]] virtual std::vector<WindowId> windowsOf(const std::vector<qint64>& pids) const = 0;

    [[nodiscard]] virtual std::optional<QRectF> frame(WindowId window) const = 0;
    virtual void setPosition(WindowId window, QPointF topLeft) = 0;
    virtual void setSize(WindowId window, QSizeF size) = 0;

    [[nodiscard]] virtual bool isMinimized(WindowId window) const = 0;
    virtual void unminimize(WindowId window) = 0;
    virtual void raise(WindowId window) = 0;
    // Gives the window the focus, as a click on it in the taskbar would.
    virtual void activate(WindowId window) = 0;

    // The screens, the primary one first, and the index of the one the user is working on (the one
    // holding the pointer), if any.
    [[nodiscard]] virtual std::vector<Screen> screens() const = 0;
    [[nodiscard]] virtual std::optional<std::size_t> mainScreen() const = 0;

Q_SIGNALS:
    // Another window became active; fires on the main thread.
    void activeWindowChanged(const Windows::ActiveWindow& window);
};

// A session without a windowing system we can reach.
class NullWindows final : public Windows {
public:
    using Windows::Windows;
    [[nodiscard]] bool isAvailable() const override { return false; }
    [[nodiscard]] std::optional<ActiveWindow> activeWindow() const override { return std::nullopt; }
    [[nodiscard]] Expected<WindowId, int> focusedWindow(const ActiveWindow&) const override
    {
        return Unexpected(0);
    }
    [[nodiscard]] std::vector<WindowId> windowsOf(const std::vector<qint64>&) const override { return {}; }
    [[nodiscard]] std::optional<QRectF> frame(WindowId) const override { return std::nullopt; }
    void setPosition(WindowId, QPointF) override {}
    void setSize(WindowId, QSizeF) override {}
    [[nodiscard]] bool isMinimized(WindowId) const override { return false; }
    void unminimize(WindowId) override {}
    void raise(WindowId) override {}
    void activate(WindowId) override {}
    [[nodiscard]] std::vector<Screen> screens() const override { return {}; }
    [[nodiscard]] std::optional<std::size_t> mainScreen() const override { return std::nullopt; }
};
