#include "BandClock.h"

#include "platform/Clock.h"

BandClock::BandClock(const Clock& clock, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_now(clock.now())
{
    m_timer.setInterval(interval);
    connect(&m_timer, &QTimer::timeout, this, &BandClock::tick);
}

void BandClock::start()
{
    if (!m_timer.isActive())
        m_timer.start();
}

void BandClock::stop()
{
    m_timer.stop();
}

void BandClock::tick()
{
    QDateTime now = m_clock.now();
    if (now == m_now)
        return;
    m_now = std::move(now);
    Q_EMIT nowChanged(m_now);
}
