#pragma once

#include "platform/CalendarStore.h"
#include "platform/linux/calendar/ICalendarParse.h"

// The instances of a parsed calendar's events that overlap a window, recurrences expanded. Bounded whatever
// the rules say: a rule is followed for at most `maxSteps` occurrences and gives at most `maxInstances`, and
// the rules of one calendar together are followed for at most `maxCalendarSteps` occurrences.
namespace ICalendarExpand {

inline constexpr int maxSteps = 100'000;
inline constexpr int maxInstances = 1'000;
// Each step costs microseconds in libical, and a counted rule cannot skip to the window: without this, a
// calendar of many counted rules would keep a thread busy for minutes.
inline constexpr int maxCalendarSteps = 300'000;

[[nodiscard]] QList<CalendarEvent> events(const ICalendarData& data, const QString& calendarId,
                                          const QDateTime& from, const QDateTime& to);

} // namespace ICalendarExpand
