#pragma once

#include "platform/CalendarStore.h"
#include "platform/linux/ICalendarParse.h"

// The instances of a parsed calendar's events that overlap a window, recurrences expanded. Bounded whatever
// the rules say: a rule is followed for at most `maxSteps` occurrences and gives at most `maxInstances`.
namespace ICalendarExpand {

inline constexpr int maxSteps = 100'000;
inline constexpr int maxInstances = 1'000;

[[nodiscard]] QList<CalendarEvent> events(const ICalendarData& data, const QString& calendarId,
                                          const QDateTime& from, const QDateTime& to);

} // namespace ICalendarExpand
