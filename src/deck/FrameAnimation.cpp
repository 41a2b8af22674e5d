#include "deck/FrameAnimation.h"

#include "deck/FrameClock.h"

FrameAnimation::FrameAnimation(FrameClock& clock, std::function<void()> onFrame)
    : m_clock(clock)
    , m_onFrame(std::move(onFrame))
{
}

FrameAnimation::~FrameAnimation()
{
    stop();
}

double FrameAnimation::now() const
{
    return m_clock.now();
}

void FrameAnimation::start()
{
    if (isRunning())
        return;
    m_connection = QObject::connect(&m_clock, &FrameClock::frame, [this] { m_onFrame(); });
    m_clock.retain();
}

void FrameAnimation::stop()
{
    if (!isRunning())
        return;
    QObject::disconnect(m_connection);
    m_connection = {};
    m_clock.release();
}
