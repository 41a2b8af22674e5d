#pragma once

#include <QObject>

// The time every animation of the deck is sampled at, and the frames that sample it. The animations are pure
// functions of `now`; `frame` fires about sixty times a second while at least one animation runs and never
// while none does, so an idle deck draws nothing.
//
// Main thread only. Animations take part through `FrameAnimation`, which calls `retain` and `release`.
class FrameClock : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Seconds since a fixed moment; never goes back.
    [[nodiscard]] virtual double now() const = 0;
    // Whether any animation runs, so that frames are delivered.
    [[nodiscard]] bool isTicking() const { return m_running > 0; }

    // An animation starts or stops asking for frames; each `retain` is matched by one `release`.
    void retain();
    void release();

Q_SIGNALS:
    void frame();

protected:
    // Starts the frames when the first animation starts, stops them when the last one ends.
    virtual void setTicking(bool ticking) = 0;

private:
    int m_running = 0;
};
