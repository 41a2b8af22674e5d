#pragma once

#include "platform/Windows.h"

#include <QHash>
#include <QStringList>
#include <algorithm>

// A desktop of windows the test lays out. Moves and restores are applied and recorded in `log`.
class FakeWindows final : public Windows {
public:
    bool available = true;
    std::optional<ActiveWindow> active;
    QHash<WindowId, QRectF> frames; // y down
    QHash<WindowId, qint64> owners; // window → pid
    QHash<WindowId, bool> minimized;
    std::vector<WindowId> stacking; // front to back
    std::vector<Screen> screenList;
    std::optional<std::size_t> main;
    QStringList log;

    void activateFromOutside(const ActiveWindow& window)
    {
        active = window;
        Q_EMIT activeWindowChanged(window);
    }

    [[nodiscard]] bool isAvailable() const override { return available; }
    [[nodiscard]] std::optional<ActiveWindow> activeWindow() const override { return active; }
    [[nodiscard]] Expected<WindowId, int> focusedWindow(const ActiveWindow& remembered) const override
    {
        if (frames.contains(remembered.window))
            return remembered.window;
        for (const WindowId window : stacking) {
            if (owners.value(window) == remembered.pid)
                return window;
        }
        return Unexpected(3);
    }
    [[nodiscard]] std::vector<WindowId> windowsOf(const std::vector<qint64>& pids) const override
    {
        std::vector<WindowId> own;
        for (const WindowId window : stacking) {
            if (std::find(pids.begin(), pids.end(), owners.value(window)) != pids.end())
                own.push_back(window);
        }
        return own;
    }
    [[nodiscard]] std::optional<QRectF> frame(WindowId window) const override
    {
        return frames.contains(window) ? std::optional(frames.value(window)) : std::nullopt;
    }
    void setPosition(WindowId window, QPointF topLeft) override
    {
        frames[window].moveTopLeft(topLeft);
        log << QStringLiteral("position %1 %2,%3").arg(window).arg(topLeft.x()).arg(topLeft.y());
    }
    void setSize(WindowId window, QSizeF size) override
    {
        frames[window].setSize(size);
        log << QStringLiteral("size %1 %2x%3").arg(window).arg(size.width()).arg(size.height());
    }
    [[nodiscard]] bool isMinimized(WindowId window) const override { return minimized.value(window); }
    void unminimize(WindowId window) override
    {
        minimized[window] = false;
        log << QStringLiteral("unminimize %1").arg(window);
    }
    void raise(WindowId window) override { log << QStringLiteral("raise %1").arg(window); }
    void activate(WindowId window) override { log << QStringLiteral("activate %1").arg(window); }
    [[nodiscard]] std::vector<Screen> screens() const override { return screenList; }
    [[nodiscard]] std::optional<std::size_t> mainScreen() const override { return main; }
};
