#include "FuzzBytes.h"
#include "FuzzCheck.h"
#include "platform/linux/calendar/ICalendarExpand.h"
#include "platform/linux/calendar/ICalendarParse.h"

#include <QTimeZone>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietQtMessages();
    // A day on which the clocks change, in a zone that changes them: the hardest day for wall-clock times.
    qputenv("TZ", "Europe/Berlin");
    return 0;
}

// An iCalendar file, parsed and then expanded over one day as the meeting module asks for today. However
// the rules read, each event gives at most `maxInstances` instances from its rule beside the dates it names
// one by one, and no instance starts after the day.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ICalendarData calendar = ICalendarParse::parse(fuzzBytes(data, size));
    const QDateTime from = QDate(2026, 3, 29).startOfDay();
    const QDateTime to = QDate(2026, 3, 30).startOfDay();
    const QList<CalendarEvent> events = ICalendarExpand::events(calendar, QStringLiteral("fuzz"), from, to);
    qsizetype bound = 0;
    for (const ICalendarEntry& entry : calendar.entries)
        bound += entry.recurrenceId
                     ? 1
                     : (entry.rule.isEmpty() ? 1 : ICalendarExpand::maxInstances) + entry.extraDates.size();
    if (events.size() > bound) {
        std::fprintf(stderr, "%lld instances from %lld entries\n", static_cast<long long>(events.size()),
                     static_cast<long long>(calendar.entries.size()));
        std::abort();
    }
    for (const CalendarEvent& event : events) {
        if (!(event.start < to)) {
            std::fprintf(stderr, "an instance at %s, after the day asked for\n",
                         qPrintable(event.start.toString(Qt::ISODate)));
            std::abort();
        }
    }
    return 0;
}
