#include "BandClock.h"

namespace {

constexpr qint64 minute = 60'000;

qint64 minuteOf(const QDateTime& time)
{
    const qint64 milliseconds = time.toMSecsSinceEpoch();
    return milliseconds / minute - (milliseconds % minute < 0 ? 1 : 0);
}

} // namespace

BandClock::BandClock(const Clock& clock, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_now(clock.now())
{
}

void BandClock::start()
{
    if (!m_alarm)
        wakeAtNextMinute();
}

void BandClock::stop()
{
    m_alarm.reset();
}

void BandClock::tick()
{
    QDateTime now = m_clock.now();
    const bool moved = minuteOf(now) != minuteOf(m_now);
    m_now = std::move(now);
    if (moved)
        Q_EMIT nowChanged(m_now);
}

void BandClock::wakeAtNextMinute()
{
    // Every time zone in use is offset from UTC by whole minutes, so the local minute turns with UTC's.
    const QDateTime next = QDateTime::fromMSecsSinceEpoch((minuteOf(m_clock.now()) + 1) * minute);
    m_alarm = m_clock.alarmAt(next, [this] {
        tick();
        wakeAtNextMinute();
    });
}
