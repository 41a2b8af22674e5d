#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

// Runs a function once, just after the program's first window (or the given window) has been painted: the
// event filter sees the paint event before it is delivered, so the function is queued behind it. What the
// first paint does not need waits here, so that the deck shows as early as it can.
//
// Main thread only. The function never runs once this object is gone.
class FirstPaint final : public QObject {
    Q_OBJECT
public:
    enum class Run {
        afterThePaint,
        // Before the paint is delivered; for what must come ahead of everything else that waits for it.
        atOnce,
    };

    explicit FirstPaint(std::function<void()> then, Run when = Run::afterThePaint,
                        const QWidget* window = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_then;
    Run m_when = Run::afterThePaint;
    QPointer<const QWidget> m_window;
    bool m_watchesWindow = false;
};
