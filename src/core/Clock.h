#pragma once

#include <QDateTime>
#include <functional>
#include <memory>

// A wake-up set on a clock. Dropping it cancels it.
class ClockAlarm {
public:
    virtual ~ClockAlarm() = default;
};

// The one source of "now". Logic asks it instead of the system so that tests can set the time.
class Clock {
public:
    using Ring = std::function<void()>;

    virtual ~Clock() = default;
    [[nodiscard]] virtual QDateTime now() const = 0;

    // Calls `ring` once, on the thread that set the alarm, when the time reaches `moment`: never early, and
    // at once on waking from a sleep that passed it. A clock that can tell also rings when the time is set
    // (by hand, by the network, across a time zone), after which `moment` may be far off: whoever is rung
    // asks `now` again. The alarm must not outlive the clock.
    [[nodiscard]] virtual std::unique_ptr<ClockAlarm> alarmAt(const QDateTime& moment, Ring ring) const = 0;
};

// The system's time, with alarms on the event loop's timers.
class SystemClock : public Clock {
public:
    [[nodiscard]] QDateTime now() const override { return QDateTime::currentDateTime(); }
    [[nodiscard]] std::unique_ptr<ClockAlarm> alarmAt(const QDateTime& moment, Ring ring) const override;
};
