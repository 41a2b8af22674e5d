#pragma once

#include <QString>
#include <optional>

class QDateTime;

// The countdown module's texts, from `countdownDate` (seconds since 1970 UTC; 0 or below, or not a number,
// means no date is set) and `countdownLabel`.
namespace Countdown {

[[nodiscard]] bool isSet(double countdownDate);
// Calendar days from `now`'s day to the target's day in `now`'s time zone, negative when it has passed;
// nothing while no date is set. A target millions of years away is counted all the same.
[[nodiscard]] std::optional<qint64> days(const QDateTime& now, double countdownDate);
// "3d", "Today", "2d ago", or "Set…" while no date is set.
[[nodiscard]] QString value(const QDateTime& now, double countdownDate);
// The label in upper case, or "COUNTDOWN" when it is empty.
[[nodiscard]] QString caption(const QString& countdownLabel);

} // namespace Countdown
