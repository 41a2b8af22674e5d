#include "platform/linux/calendar/ICalendarExpand.h"
#include "platform/linux/calendar/ICalendarParse.h"

#include <QElapsedTimer>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

QByteArray calendar(const QByteArray& events)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nX-WR-CALNAME:Team\r\n" + events +
           "END:VCALENDAR\r\n";
}

const QByteArray weekly = "BEGIN:VEVENT\r\nUID:weekly\r\nSUMMARY:Weekly\r\n"
                          "DTSTART;TZID=Europe/Berlin:20260319T090000\r\n"
                          "DTEND;TZID=Europe/Berlin:20260319T093000\r\n"
                          "RRULE:FREQ=WEEKLY\r\nEXDATE;TZID=Europe/Berlin:20260409T090000\r\n"
                          "RDATE;TZID=Europe/Berlin:20260326T090000,20260417T110000\r\n"
                          "ATTENDEE:mailto:a@example.com\r\nEND:VEVENT\r\n"
                          "BEGIN:VEVENT\r\nUID:weekly\r\nSUMMARY:Weekly (moved)\r\n"
                          "RECURRENCE-ID;TZID=Europe/Berlin:20260416T090000\r\n"
                          "DTSTART;TZID=Europe/Berlin:20260416T150000\r\n"
                          "DTEND;TZID=Europe/Berlin:20260416T153000\r\nEND:VEVENT\r\n";

QList<CalendarEvent> onDay(const QByteArray& text, QDate day)
{
    const QDateTime from = day.startOfDay(QTimeZone::utc());
    return ICalendarExpand::events(ICalendarParse::parse(text), QStringLiteral("c"), from, from.addDays(1));
}

TEST(ICalendarTest, RecurrencesKeepTheirWallClockAcrossDaylightSavingAndHonourExceptionsAndExtraDates)
{
    const struct {
        QDate day;
        const char* title;
        QDateTime startUtc;
    } cases[] = {
        {QDate(2026, 3, 26), "Weekly", QDateTime(QDate(2026, 3, 26), QTime(8, 0), Qt::UTC)},
        {QDate(2026, 4, 2), "Weekly", QDateTime(QDate(2026, 4, 2), QTime(7, 0), Qt::UTC)},
        {QDate(2026, 4, 9), nullptr, {}},
        {QDate(2026, 4, 16), "Weekly (moved)", QDateTime(QDate(2026, 4, 16), QTime(13, 0), Qt::UTC)},
        {QDate(2026, 4, 17), "Weekly", QDateTime(QDate(2026, 4, 17), QTime(9, 0), Qt::UTC)},
        {QDate(2026, 4, 18), nullptr, {}},
    };
    const QByteArray text = calendar(weekly);
    EXPECT_EQ(ICalendarParse::parse(text).name, QStringLiteral("Team"));
    for (const auto& c : cases) {
        const QList<CalendarEvent> events = onDay(text, c.day);
        if (!c.title) {
            EXPECT_TRUE(events.isEmpty()) << c.day.toString().toStdString();
            continue;
        }
        ASSERT_EQ(events.size(), 1) << c.day.toString().toStdString();
        EXPECT_EQ(events[0].title, QLatin1String(c.title));
        EXPECT_EQ(events[0].start, c.startUtc);
        EXPECT_EQ(events[0].start.secsTo(events[0].end), 1800);
    }
}

TEST(ICalendarTest, AnEndInUtcKeepsTheLastOccurrenceOnEitherSideOfUtc)
{
    // Both end with their 12 March instance: 10:00 in Tokyo is 01:00 UTC, 09:00 in New York 13:00 UTC.
    const QByteArray daily = "BEGIN:VEVENT\r\nUID:tokyo\r\nSUMMARY:Tokyo\r\n"
                             "DTSTART;TZID=Asia/Tokyo:20260309T100000\r\nDURATION:PT30M\r\n"
                             "RRULE:FREQ=DAILY;UNTIL=20260312T010000Z\r\nEND:VEVENT\r\n"
                             "BEGIN:VEVENT\r\nUID:york\r\nSUMMARY:New York\r\n"
                             "DTSTART;TZID=America/New_York:20260309T090000\r\nDURATION:PT30M\r\n"
                             "RRULE:FREQ=DAILY;UNTIL=20260312T130000Z\r\nEND:VEVENT\r\n";
    const QByteArray text = calendar(daily);
    QStringList lastDay;
    for (const CalendarEvent& event : onDay(text, QDate(2026, 3, 12)))
        lastDay << event.title;
    EXPECT_EQ(lastDay, (QStringList{QStringLiteral("Tokyo"), QStringLiteral("New York")}));
    EXPECT_TRUE(onDay(text, QDate(2026, 3, 13)).isEmpty());
}

TEST(ICalendarTest, ReadsZonesByAnyNameAllDayEventsAndStatus)
{
    const QByteArray text = calendar(
        "BEGIN:VEVENT\r\nUID:1\r\nSUMMARY:Windows zone\r\nDTSTART;TZID=W. Europe Standard "
        "Time:20260305T100000\r\n"
        "DURATION:PT1H\r\nSTATUS:CANCELLED\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:2\r\nSUMMARY:Prefixed\r\n"
        "DTSTART;TZID=/freeassociation.sourceforge.net/America/New_York:20260305T090000\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:3\r\nSUMMARY:Holiday\r\nDTSTART;VALUE=DATE:20260305\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:4\r\nSUMMARY:Unknown zone\r\nDTSTART;TZID=Nowhere/City:20260305T120000\r\n"
        "END:VEVENT\r\n");
    const QList<CalendarEvent> events = onDay(text, QDate(2026, 3, 5));
    ASSERT_EQ(events.size(), 4);
    EXPECT_EQ(events[0].start, QDateTime(QDate(2026, 3, 5), QTime(9, 0), Qt::UTC));
    EXPECT_EQ(events[0].start.secsTo(events[0].end), 3600);
    EXPECT_TRUE(events[0].cancelled);
    EXPECT_EQ(events[1].start, QDateTime(QDate(2026, 3, 5), QTime(14, 0), Qt::UTC));
    EXPECT_TRUE(events[2].allDay);
    EXPECT_EQ(events[3].start, QDateTime(QDate(2026, 3, 5), QTime(12, 0)));
}

TEST(ICalendarTest, HostileInputIsReadAsFarAsItGoesAndEndlessRulesAreBounded)
{
    const QByteArray huge(10 * 1024 * 1024, 'x');
    const QByteArray text =
        calendar("BEGIN:VEVENT\r\nUID:big\r\nSUMMARY:Caf\xC3\xA9 \xFF\xFE\r\n"
                 "DTSTART:20260305T100000Z\r\nDESCRIPTION:" +
                 huge +
                 "\r\nEND:VEVENT\r\n"
                 "BEGIN:VEVENT\r\nUID:endless\r\nSUMMARY:Every second\r\n"
                 "DTSTART:20000101T000000Z\r\nRRULE:FREQ=SECONDLY\r\nEND:VEVENT\r\n"
                 "BEGIN:VEVENT\r\nUID:counted\r\nSUMMARY:Counted\r\n"
                 "DTSTART:19700101T000000Z\r\nRRULE:FREQ=MINUTELY;COUNT=100000000\r\nEND:VEVENT\r\n"
                 "BEGIN:VEVENT\r\nUID:open\r\nSUMMARY:Unterminated\r\nDTSTART:20260305T110000Z\r\n");
    QElapsedTimer timer;
    timer.start();
    const QList<CalendarEvent> events = onDay(text, QDate(2026, 3, 5));
    EXPECT_LT(timer.elapsed(), 5000);
    ASSERT_FALSE(events.isEmpty());
    EXPECT_TRUE(events[0].title.startsWith(QStringLiteral("Café")));
    EXPECT_EQ(events[0].notes.size(), ICalendarParse::maxTextLength);
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const CalendarEvent& e) { return e.title == QStringLiteral("Every second"); }),
              ICalendarExpand::maxInstances);
    EXPECT_EQ(events.last().title, QStringLiteral("Unterminated"));
    EXPECT_TRUE(ICalendarParse::parse("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\n").entries.isEmpty());
    EXPECT_TRUE(ICalendarParse::parse(QByteArray("\0\xff\x01", 3)).entries.isEmpty());
}

} // namespace

TEST(ICalendarTest, ManyCountedRulesShareOneBoundSoThatACalendarCannotKeepAThreadBusy)
{
    QByteArray events = "BEGIN:VEVENT\r\nUID:first\r\nSUMMARY:First\r\nDTSTART:20260301T100000Z\r\n"
                        "RRULE:FREQ=DAILY;COUNT=10\r\nEND:VEVENT\r\n";
    for (int i = 0; i < 40; ++i)
        events += "BEGIN:VEVENT\r\nUID:counted" + QByteArray::number(i) +
                  "\r\nDTSTART:19700101T000000Z\r\nRRULE:FREQ=MINUTELY;COUNT=100000000\r\nEND:VEVENT\r\n";
    QElapsedTimer timer;
    timer.start();
    const QList<CalendarEvent> found = onDay(calendar(events), QDate(2026, 3, 5));
    EXPECT_LT(timer.elapsed(), 10000);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].title, QStringLiteral("First"));
}
