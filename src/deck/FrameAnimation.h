#pragma once

#include <QMetaObject>
#include <functional>

class FrameClock;

// One animation on the frame clock: from `start` until `stop` (or its destruction) `onFrame` runs on every
// frame. Starting a running animation or stopping a stopped one does nothing.
class FrameAnimation final {
public:
    FrameAnimation(FrameClock& clock, std::function<void()> onFrame);
    ~FrameAnimation();
    FrameAnimation(const FrameAnimation&) = delete;
    FrameAnimation& operator=(const FrameAnimation&) = delete;

    [[nodiscard]] bool isRunning() const { return static_cast<bool>(m_connection); }
    [[nodiscard]] double now() const;
    void start();
    void stop();

private:
    FrameClock& m_clock;
    std::function<void()> m_onFrame;
    QMetaObject::Connection m_connection;
};
