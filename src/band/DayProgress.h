#pragma once

#include <QString>

class QDateTime;

// How much of the current day has passed, for the day-progress module.
namespace DayProgress {

// From 0 at the start of `now`'s day to 1 at its end, in `now`'s own time zone; a day of 23 or 25 hours at a
// daylight-saving change counts by its real length.
[[nodiscard]] double fraction(const QDateTime& now);
// "DAY " and the fraction as a whole percentage ("DAY 50%").
[[nodiscard]] QString caption(double fraction);

} // namespace DayProgress
