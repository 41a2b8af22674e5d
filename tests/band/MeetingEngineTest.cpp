#include "band/MeetingEngine.h"

#include "band/MeetingRules.h"
#include "core/BackgroundQueue.h"
#include "core/Preferences.h"
#include "model/Settings.h"
#include "support/FakeCalendarStore.h"
#include "support/FakeClock.h"
#include "support/FakeWorkspace.h"
#include "support/TempHome.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

const QDateTime noon(QDate(2026, 3, 5), QTime(12, 0));

CalendarEvent meeting(const QString& title, qint64 startsIn, qint64 lasts = 1800,
                      const QString& calendar = {})
{
    CalendarEvent event;
    event.calendarId = calendar.isEmpty() ? QStringLiteral("work") : calendar;
    event.title = title;
    event.start = noon.addSecs(startsIn);
    event.end = event.start.addSecs(lasts);
    event.hasAttendees = true;
    return event;
}

TEST(MeetingRulesTest, CountdownReadsNowMinutesOrHours)
{
    const struct {
        qint64 milliseconds;
        const char* text;
    } cases[] = {
        {-300'000, "Now"},     {0, "Now"},           {999, "0:00"},
        {545'000, "9:05"},     {3'599'999, "59:59"}, {3'600'000, "1h 00m"},
        {7'500'000, "2h 05m"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MeetingRules::countdown(noon.addMSecs(c.milliseconds), noon), QLatin1String(c.text))
            << c.milliseconds;
}

TEST(MeetingRulesTest, LinkIsTheFirstSecureMeetingAddressAndEndsAtALineBreak)
{
    const struct {
        const char *url, *location, *notes;
        const char* link; // nothing: no link
    } cases[] = {
        {"", "", "Join https://acme.zoom.us/j/123\n?pwd=x", "https://acme.zoom.us/j/123"},
        {"https://meet.google.com/abc-defg-hij", "https://zoom.us/j/1", "",
         "https://meet.google.com/abc-defg-hij"},
        {"", "Room 4", "<https://teams.microsoft.com/l/meetup-join/x>",
         "https://teams.microsoft.com/l/meetup-join/x"},
        {"", "https://teams.live.com/meet/9", "", "https://teams.live.com/meet/9"},
        {"", "", "https://acme.webex.com", "https://acme.webex.com"},
        {"", "", "https://facetime.apple.com/join#v=1", "https://facetime.apple.com/join#v=1"},
        {"", "", "http://zoom.us/j/1", nullptr},
        {"", "", "https://ZOOM.US/j/1", nullptr},
        {"", "", "https://example.com/zoom.us", nullptr},
    };
    for (const auto& c : cases) {
        CalendarEvent event;
        event.url = QString::fromLatin1(c.url);
        event.location = QString::fromLatin1(c.location);
        event.notes = QString::fromLatin1(c.notes);
        const std::optional<QUrl> link = MeetingRules::meetingLink(event);
        EXPECT_EQ(link ? std::optional(link->toString()) : std::nullopt,
                  c.link ? std::optional(QString::fromLatin1(c.link)) : std::nullopt)
            << c.notes;
    }
}

TEST(MeetingRulesTest, SkipsAllDayCancelledEndedAndLonelyEventsAndKeepsTheStoreOrderOnTies)
{
    CalendarEvent allDay = meeting(QStringLiteral("all day"), -3600, 86400);
    allDay.allDay = true;
    CalendarEvent cancelled = meeting(QStringLiteral("cancelled"), -60);
    cancelled.cancelled = true;
    CalendarEvent lonely = meeting(QStringLiteral("lonely"), -30);
    lonely.hasAttendees = false;
    CalendarEvent linked = meeting(QStringLiteral("linked"), 600);
    linked.hasAttendees = false;
    linked.location = QStringLiteral("https://zoom.us/j/7");
    const QList<CalendarEvent> events{allDay,
                                      cancelled,
                                      lonely,
                                      meeting(QStringLiteral("over"), -1800, 1800),
                                      meeting(QStringLiteral("first"), 300),
                                      meeting(QStringLiteral("second"), 300)};
    EXPECT_EQ(MeetingRules::nextMeeting(events, noon)->title, QStringLiteral("first"));
    EXPECT_EQ(MeetingRules::nextMeeting({lonely, linked}, noon)->title, QStringLiteral("linked"));
    EXPECT_FALSE(MeetingRules::nextMeeting({allDay, cancelled, lonely}, noon));
}

class MeetingEngineTest : public TempHome {
protected:
    void settle()
    {
        BackgroundQueue::waitForDone();
        QCoreApplication::processEvents();
    }

    Preferences m_preferences{m_paths.preferencesFile()};
    DeckSettings m_settings{m_preferences};
    FakeCalendarStore m_store;
    FakeWorkspace m_workspace;
    FakeClock m_clock{noon};
    MeetingEngine m_engine{m_store, m_settings, m_workspace, m_clock};
};

TEST_F(MeetingEngineTest, AMeetingUnderWayIsHappeningNowAndTheNextOneFollowsWhenItEnds)
{
    CalendarEvent call = meeting(QStringLiteral("Stand-up"), -300, 1800);
    call.notes = QStringLiteral("https://meet.google.com/abc");
    m_store.events = {call, meeting(QStringLiteral("Review"), 3600)};
    m_engine.start();
    settle();
    EXPECT_EQ(m_engine.access(), MeetingEngine::Access::granted);
    EXPECT_EQ(m_engine.title(), QStringLiteral("Stand-up"));
    EXPECT_TRUE(m_engine.isHappeningNow());
    m_engine.activate();
    EXPECT_EQ(m_workspace.opened, std::vector{QUrl(QStringLiteral("https://meet.google.com/abc"))});

    m_store.events.removeFirst();
    m_clock.advance(1500);
    m_engine.tick();
    settle();
    EXPECT_EQ(m_engine.title(), QStringLiteral("Review"));
    EXPECT_EQ(m_engine.countdown(), QStringLiteral("35:00"));
    EXPECT_FALSE(m_engine.joinURL());
    m_engine.activate();
    EXPECT_EQ(m_store.applicationOpened, 1);

    m_store.events.clear();
    Q_EMIT m_store.changed();
    settle();
    EXPECT_FALSE(m_engine.title());
    EXPECT_FALSE(m_engine.countdown());
}

TEST_F(MeetingEngineTest, OneReadIsUnderWayAtATimeAndWhatChangedMeanwhileIsReadAfterIt)
{
    m_store.events = {meeting(QStringLiteral("Stand-up"), -300, 600),
                      meeting(QStringLiteral("Review"), 3600)};
    m_engine.start();
    settle();
    ASSERT_TRUE(m_engine.isHappeningNow());

    // The store is slow: nothing it answers arrives before the test lets it.
    const int asked = m_store.queries;
    m_store.events.removeFirst();
    m_clock.advance(300);
    for (int second = 0; second < 3; ++second) {
        m_clock.advance(1);
        m_engine.tick();
    }
    EXPECT_EQ(m_store.queries, asked + 1);
    settle();
    EXPECT_EQ(m_engine.title(), QStringLiteral("Review"));
    EXPECT_FALSE(m_engine.isHappeningNow());

    m_store.events = {meeting(QStringLiteral("Planning"), 600)};
    Q_EMIT m_store.changed();
    m_store.events = {meeting(QStringLiteral("Retro"), 900)};
    Q_EMIT m_store.changed();
    Q_EMIT m_store.changed();
    EXPECT_EQ(m_store.queries, asked + 2);
    settle();
    settle();
    EXPECT_EQ(m_store.queries, asked + 3);
    EXPECT_EQ(m_engine.title(), QStringLiteral("Retro"));
}

TEST_F(MeetingEngineTest, OffTheBandTheStoreStopsFollowingAndBackOnItFollowsAndReadsAgain)
{
    m_store.events = {meeting(QStringLiteral("Sync"), 60)};
    m_engine.start();
    settle();
    m_engine.stop();
    EXPECT_FALSE(m_store.following);
    EXPECT_EQ(m_engine.title(), QStringLiteral("Sync"));

    m_store.events = {meeting(QStringLiteral("Later"), 600)};
    m_engine.start();
    ASSERT_TRUE(m_store.pending);
    std::exchange(m_store.pending, {})(true);
    settle();
    EXPECT_TRUE(m_store.following);
    EXPECT_EQ(m_engine.title(), QStringLiteral("Later"));
}

TEST_F(MeetingEngineTest, ChosenCalendarsCountUnlessNoneOfThemExists)
{
    m_store.events = {meeting(QStringLiteral("at work"), 600),
                      meeting(QStringLiteral("at home"), 60, 60, QStringLiteral("home"))};
    m_settings.setMeetingCalendars({QStringLiteral("gone")});
    m_engine.start();
    settle();
    EXPECT_EQ(m_store.asked, (QStringList{QStringLiteral("work"), QStringLiteral("home")}));
    EXPECT_EQ(m_engine.title(), QStringLiteral("at home"));

    m_engine.toggleCalendar(QStringLiteral("work"));
    settle();
    EXPECT_EQ(m_settings.meetingCalendars(), (QStringList{QStringLiteral("gone"), QStringLiteral("work")}));
    EXPECT_EQ(m_engine.title(), QStringLiteral("at work"));

    m_engine.chooseAllCalendars();
    settle();
    EXPECT_TRUE(m_settings.meetingCalendars().isEmpty());
    EXPECT_EQ(m_engine.title(), QStringLiteral("at home"));
    const QList<CalendarInfo> sorted{{QStringLiteral("home"), QStringLiteral("Home")},
                                     {QStringLiteral("work"), QStringLiteral("work")}};
    EXPECT_EQ(m_engine.availableCalendars(), sorted);
}

TEST_F(MeetingEngineTest, AccessIsAskedOncePerStartAndARefusalLeadsToTheSettings)
{
    m_store.status = CalendarStore::Authorization::notDetermined;
    m_store.events = {meeting(QStringLiteral("Sync"), 60)};
    m_engine.start();
    EXPECT_EQ(m_engine.access(), MeetingEngine::Access::unknown);
    m_engine.fetch();
    settle();
    EXPECT_FALSE(m_engine.title());

    std::exchange(m_store.pending, {})(false);
    EXPECT_EQ(m_engine.access(), MeetingEngine::Access::denied);
    EXPECT_TRUE(m_engine.availableCalendars().isEmpty());
    m_engine.activate();
    EXPECT_EQ(m_store.settingsOpened, 1);

    m_engine.stop();
    m_engine.start();
    ASSERT_TRUE(m_store.pending);
    m_store.pending(true);
    settle();
    EXPECT_EQ(m_engine.title(), QStringLiteral("Sync"));
    EXPECT_EQ(m_engine.countdown(), QStringLiteral("1:00"));
}

} // namespace
