// One fetch of the next meeting over a busy day: 20 calendars of 100 events each (one in five repeating, with
// rules that started a year ago), expanded for the rest of the day and reduced to the next meeting, as the
// band's background job does; and, for scale, parsing the same 20 files, which the store does at most once in
// five minutes.
#include "band/MeetingRules.h"
#include "platform/linux/calendar/ICalendarExpand.h"
#include "platform/linux/calendar/ICalendarParse.h"

#include <QTimeZone>
#include <benchmark/benchmark.h>

namespace {

constexpr int calendarCount = 20;
constexpr int eventsPerCalendar = 100;

const QDateTime& now()
{
    static const QDateTime at(QDate(2026, 12, 7), QTime(9, 30), QTimeZone("Europe/Berlin"));
    return at;
}

QByteArray stamp(const QDateTime& at)
{
    return at.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1();
}

QByteArray event(int calendar, int index)
{
    const bool repeats = index % 5 == 0;
    // Single events spread over the week around today; repeating ones began a year before.
    const QDateTime start = repeats ? now().addDays(-365).addSecs(index * 600)
                                    : now().addDays(index % 7 - 3).addSecs((index % 48) * 900 - 4 * 3600);
    QByteArray text = "BEGIN:VEVENT\r\nUID:" + QByteArray::number(calendar) + '-' +
                      QByteArray::number(index) + "\r\nSUMMARY:Meeting " + QByteArray::number(index) +
                      "\r\nDTSTART:" + stamp(start) + "\r\nDTEND:" + stamp(start.addSecs(1800)) +
                      "\r\nATTENDEE:mailto:someone@example.com\r\n"
                      "LOCATION:https://meet.example.com/abc-defg-hij\r\n";
    if (repeats)
        text += index % 10 == 0 ? "RRULE:FREQ=DAILY\r\n" : "RRULE:FREQ=WEEKLY;BYDAY=MO,WE,FR\r\n";
    return text + "END:VEVENT\r\n";
}

QByteArray calendarText(int calendar)
{
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\n";
    for (int index = 0; index < eventsPerCalendar; ++index)
        text += event(calendar, index);
    return text + "END:VCALENDAR\r\n";
}

const QList<QByteArray>& texts()
{
    static const QList<QByteArray> all = [] {
        QList<QByteArray> made;
        for (int calendar = 0; calendar < calendarCount; ++calendar)
            made.append(calendarText(calendar));
        return made;
    }();
    return all;
}

const QList<ICalendarData>& parsed()
{
    static const QList<ICalendarData> all = [] {
        QList<ICalendarData> made;
        for (const QByteArray& text : texts())
            made.append(ICalendarParse::parse(text));
        return made;
    }();
    return all;
}

void fetchNextMeeting(benchmark::State& state)
{
    const QDateTime end = MeetingRules::dayEnd(now());
    for (auto _ : state) {
        QList<CalendarEvent> events;
        for (int calendar = 0; calendar < calendarCount; ++calendar)
            events.append(ICalendarExpand::events(parsed()[calendar], QString::number(calendar), now(), end));
        const std::optional<CalendarEvent> next = MeetingRules::nextMeeting(events, now());
        if (!next)
            state.SkipWithError("no meeting found");
        benchmark::DoNotOptimize(next);
    }
}
BENCHMARK(fetchNextMeeting)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void parseCalendars(benchmark::State& state)
{
    for (auto _ : state)
        for (const QByteArray& text : texts())
            benchmark::DoNotOptimize(ICalendarParse::parse(text));
}
BENCHMARK(parseCalendars)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
