#include "deck/QtFrameClock.h"

QtFrameClock::QtFrameClock(QObject* parent)
    : FrameClock(parent)
{
    m_elapsed.start();
    m_frameTimer.setInterval(frameIntervalMs);
    connect(&m_frameTimer, &QTimer::timeout, this, &FrameClock::frame);
}

double QtFrameClock::now() const
{
    return static_cast<double>(m_elapsed.nsecsElapsed()) / 1e9;
}

void QtFrameClock::setTicking(bool ticking)
{
    if (ticking)
        m_frameTimer.start();
    else
        m_frameTimer.stop();
}
