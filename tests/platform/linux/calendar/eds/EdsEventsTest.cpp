#include "platform/linux/calendar/eds/EdsEvents.h"

#include "platform/linux/calendar/ICalendarExpand.h"

#include <gtest/gtest.h>
#include <libecal/libecal.h>

namespace {

const QDateTime morning(QDate(2026, 3, 2), QTime(6, 0), Qt::UTC);
const QDateTime evening(QDate(2026, 3, 3), QTime(0, 0), Qt::UTC);

QList<CalendarEvent> eventsOf(std::initializer_list<const char*> components)
{
    GSList* list = nullptr;
    for (const char* text : components)
        if (ICalComponent* component = i_cal_component_new_from_string(text))
            list = g_slist_append(list, component);
    const QList<CalendarEvent> events = ICalendarExpand::events(
        EdsEvents::entries(list), QStringLiteral("system-calendar"), morning, evening);
    g_slist_free_full(list, g_object_unref);
    return events;
}

} // namespace

TEST(EdsEventsTest, ComponentsReadAsEventsWithTheirFlagsAndTexts)
{
    const QList<CalendarEvent> events = eventsOf({
        "BEGIN:VEVENT\nUID:a\nSUMMARY:Review\\, round 2\nDTSTART:20260302T090000Z\nDTEND:20260302T100000Z\n"
        "LOCATION:Room 4\nURL:https://meet.google.com/abc-defg-hij\nDESCRIPTION:Agenda\n"
        "ATTENDEE:mailto:ann@example.org\nEND:VEVENT",
        "BEGIN:VEVENT\nUID:b\nSUMMARY:Holiday\nDTSTART;VALUE=DATE:20260302\nEND:VEVENT",
        "BEGIN:VEVENT\nUID:c\nSUMMARY:Dropped\nSTATUS:CANCELLED\nDTSTART:20260302T110000Z\n"
        "DURATION:PT30M\nEND:VEVENT",
        "BEGIN:VTODO\nUID:d\nSUMMARY:Not an event\nDTSTART:20260302T120000Z\nEND:VTODO",
        "BEGIN:VEVENT\nUID:e\nSUMMARY:No start\nEND:VEVENT",
    });
    ASSERT_EQ(events.size(), 3);
    const CalendarEvent& review = events[0];
    EXPECT_EQ(review.calendarId, QStringLiteral("system-calendar"));
    EXPECT_EQ(review.title, QStringLiteral("Review, round 2"));
    EXPECT_EQ(review.start, QDateTime(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC));
    EXPECT_EQ(review.end, QDateTime(QDate(2026, 3, 2), QTime(10, 0), Qt::UTC));
    EXPECT_TRUE(review.hasAttendees);
    EXPECT_FALSE(review.allDay || review.cancelled);
    EXPECT_EQ(review.location, QStringLiteral("Room 4"));
    EXPECT_EQ(review.url, QStringLiteral("https://meet.google.com/abc-defg-hij"));
    EXPECT_EQ(review.notes, QStringLiteral("Agenda"));
    EXPECT_TRUE(events[1].allDay);
    EXPECT_FALSE(events[1].hasAttendees);
    EXPECT_TRUE(events[2].cancelled);
    EXPECT_EQ(events[2].start.secsTo(events[2].end), 1800);
}

TEST(EdsEventsTest, RecurrencesExpandWithinTheDayAndHonourMovedInstances)
{
    const QList<CalendarEvent> events = eventsOf({
        "BEGIN:VEVENT\nUID:r\nSUMMARY:Stand-up\nDTSTART;TZID=Europe/Berlin:20260101T090000\n"
        "DURATION:PT15M\nRRULE:FREQ=HOURLY\nEXDATE;TZID=Europe/Berlin:20260302T100000\nEND:VEVENT",
        "BEGIN:VEVENT\nUID:r\nSUMMARY:Stand-up moved\nRECURRENCE-ID;TZID=Europe/Berlin:20260302T110000\n"
        "DTSTART;TZID=Europe/Berlin:20260302T113000\nDURATION:PT15M\nEND:VEVENT",
    });
    // 06:00 … 00:00 UTC is 07:00 … 01:00 in Berlin: 18 hourly instances, one excepted, one moved.
    ASSERT_EQ(events.size(), 17);
    EXPECT_EQ(events.last().title, QStringLiteral("Stand-up moved"));
    EXPECT_EQ(events.last().start.toUTC().time(), QTime(10, 30));
}
