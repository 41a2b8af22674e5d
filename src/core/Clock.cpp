#include "core/Clock.h"

#include <QTimer>
#include <algorithm>
#include <chrono>

namespace {

class TimerAlarm final : public ClockAlarm {
public:
    TimerAlarm(const QDateTime& moment, Clock::Ring ring)
    {
        m_timer.setSingleShot(true);
        // A coarse timer may ring a twentieth of its interval early, which a minute's clock would show.
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, std::move(ring));
        m_timer.start(
            std::chrono::milliseconds(std::max<qint64>(0, QDateTime::currentDateTime().msecsTo(moment))));
    }

private:
    QTimer m_timer;
};

} // namespace

std::unique_ptr<ClockAlarm> SystemClock::alarmAt(const QDateTime& moment, Ring ring) const
{
    return std::make_unique<TimerAlarm>(moment, std::move(ring));
}
