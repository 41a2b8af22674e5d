#pragma once

#include "core/Clock.h"

// The system's time, with alarms that are kernel timers on the wall clock itself: they ring on time after a
// sleep, and as soon as the time is set.
class LinuxClock final : public SystemClock {
public:
    [[nodiscard]] std::unique_ptr<ClockAlarm> alarmAt(const QDateTime& moment, Ring ring) const override;
};
