#include "platform/linux/calendar/ICalendarStore.h"

#include "band/CalendarAdding.h"
#include "core/AtomicFile.h"
#include "core/BackgroundQueue.h"
#include "core/Preferences.h"
#include "model/Settings.h"
#include "support/FakeClock.h"
#include "support/FakeDevices.h"
#include "support/FakeWorkspace.h"
#include "support/LocalHttpServer.h"
#include "support/LogCapture.h"
#include "support/TempHome.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

const QDateTime morning(QDate(2026, 3, 5), QTime(8, 0), Qt::UTC);

QByteArray oneEvent(const QByteArray& title)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:" + title + "\r\nSUMMARY:" + title +
           "\r\nDTSTART:20260305T100000Z\r\nDTEND:20260305T103000Z\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
}

class ICalendarStoreTest : public TempHome {
protected:
    std::unique_ptr<ICalendarStore> makeStore()
    {
        auto store = std::make_unique<ICalendarStore>(
            m_settings, m_workspace, m_clock, m_paths.supportDir() + QStringLiteral("/Calendars"), 8s);
        store->requestAccess([](bool) {});
        return store;
    }

    void settle(ICalendarStore& store)
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !store.isFetching(); }, 5000));
        BackgroundQueue::waitForDone();
        QCoreApplication::processEvents();
    }

    QStringList titles(ICalendarStore& store)
    {
        QStringList ids;
        for (const CalendarInfo& calendar : store.calendars())
            ids.append(calendar.id);
        QStringList titles;
        for (const CalendarEvent& event : store.eventsQuery(morning, morning.addDays(1), ids)())
            titles.append(event.title);
        return titles;
    }

    Preferences m_preferences{m_paths.preferencesFile()};
    DeckSettings m_settings{m_preferences};
    FakeWorkspace m_workspace;
    FakeClock m_clock{morning};
    LocalHttpServer m_server;
    LogCapture m_log;
};

TEST_F(ICalendarStoreTest, AnAddressIsAskedAtMostEveryFiveMinutesKeepsItsLastAnswerAndIsCached)
{
    const QString address = m_server.url(QStringLiteral("/team.ics")).toString();
    m_server.answer(QStringLiteral("/team.ics"), oneEvent("Planning"));
    auto store = makeStore();
    ASSERT_EQ(store->addSource(address), std::nullopt);
    EXPECT_EQ(store->addSource(address), QStringLiteral("This calendar is on the list already."));
    settle(*store);
    EXPECT_EQ(titles(*store), QStringList{QStringLiteral("Planning")});
    EXPECT_EQ(store->calendars().value(0).id, ICalendarStore::calendarId(address));

    m_server.answer(QStringLiteral("/team.ics"), "broken", 500);
    store->refresh();
    settle(*store);
    EXPECT_EQ(m_server.targets().size(), 1);
    m_clock.advance(300);
    store->refresh();
    settle(*store);
    EXPECT_EQ(m_server.targets().size(), 2);
    EXPECT_EQ(titles(*store), QStringList{QStringLiteral("Planning")});

    m_server.stall(QStringLiteral("/team.ics"));
    m_clock.advance(300);
    store->refresh();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_server.targets().size() == 3; }, 5000));
    store->abandonRequests();
    settle(*store);
    EXPECT_EQ(titles(*store), QStringList{QStringLiteral("Planning")});

    store.reset();
    m_server.answer(QStringLiteral("/team.ics"), "down", 500);
    auto restarted = makeStore();
    settle(*restarted);
    EXPECT_EQ(titles(*restarted), QStringList{QStringLiteral("Planning")});
}

TEST_F(ICalendarStoreTest, StoppedItAsksNothingUntilAccessIsAskedForAgain)
{
    const QString address = m_server.url(QStringLiteral("/team.ics")).toString();
    m_server.answer(QStringLiteral("/team.ics"), oneEvent("Planning"));
    auto store = makeStore();
    ASSERT_TRUE(store->isFollowing());
    store->stopFollowing();
    EXPECT_FALSE(store->isFollowing());
    EXPECT_EQ(store->authorization(), CalendarStore::Authorization::notDetermined);
    ASSERT_EQ(store->addSource(address), std::nullopt);
    settle(*store);
    EXPECT_TRUE(m_server.targets().isEmpty());

    store->requestAccess([](bool) {});
    settle(*store);
    EXPECT_TRUE(store->isFollowing());
    EXPECT_EQ(m_server.targets().size(), 1);
    EXPECT_EQ(titles(*store), QStringList{QStringLiteral("Planning")});
}

TEST_F(ICalendarStoreTest, FilesAreReadAgainAndOnlySecureOrLocalSourcesAreTaken)
{
    const QString file = m_paths.home + QStringLiteral("/family.ics");
    ASSERT_FALSE(AtomicFile::write(file, oneEvent("Dentist")));
    auto store = makeStore();
    EXPECT_TRUE(store->addSource(QStringLiteral("http://example.com/cal.ics")));
    EXPECT_TRUE(store->addSource(QStringLiteral("relative/cal.ics")));
    ASSERT_EQ(store->addSource(file), std::nullopt);
    settle(*store);
    EXPECT_EQ(titles(*store), QStringList{QStringLiteral("Dentist")});
    EXPECT_EQ(store->calendars().value(0).title, QStringLiteral("family"));

    ASSERT_FALSE(AtomicFile::write(file, oneEvent("Piano")));
    QSignalSpy changed(store.get(), &CalendarStore::changed);
    store->refresh();
    settle(*store);
    EXPECT_EQ(titles(*store), QStringList{QStringLiteral("Piano")});
    EXPECT_GE(changed.size(), 1);

    ASSERT_TRUE(store->removeSource(ICalendarStore::calendarId(QUrl::fromLocalFile(file).toString())));
    EXPECT_TRUE(store->calendars().isEmpty());
    EXPECT_TRUE(m_settings.meetingCalendarSources().isEmpty());
}

TEST_F(ICalendarStoreTest, WebcalAddressesAreTakenAndARefusedCalendarSaysWhy)
{
    EXPECT_EQ(ICalendarStore::sourceUrl(QStringLiteral("webcal://calendar.example.com/team.ics")),
              QUrl(QStringLiteral("https://calendar.example.com/team.ics")));
    EXPECT_EQ(ICalendarStore::sourceUrl(QStringLiteral(" WEBCALS://calendar.example.com/team.ics")),
              QUrl(QStringLiteral("https://calendar.example.com/team.ics")));

    const QString file = m_paths.home + QStringLiteral("/family.ics");
    ASSERT_FALSE(AtomicFile::write(file, oneEvent("Dentist")));
    auto store = makeStore();
    FakeAlertPresenter alerts;
    const QString missing = m_paths.home + QStringLiteral("/gone.ics");
    for (const QString& typed : {QStringLiteral("  "), QStringLiteral("webcal://127.0.0.1:1/team.ics"), file,
                                 QStringLiteral("calendar.example.com"), missing, file})
        CalendarAdding::add(*store, alerts, typed);
    EXPECT_EQ(m_settings.meetingCalendarSources(),
              (QStringList{QStringLiteral("https://127.0.0.1:1/team.ics"), file}));
    ASSERT_EQ(alerts.shown.size(), 3u);
    EXPECT_EQ(alerts.shown[0].message, QStringLiteral("Couldn't Add the Calendar"));
    EXPECT_TRUE(alerts.shown[0].informativeText.contains(u"calendar.example.com"));
    EXPECT_TRUE(alerts.shown[1].informativeText.contains(missing));
    EXPECT_EQ(alerts.shown[2].informativeText, QStringLiteral("This calendar is on the list already."));
    settle(*store);
}

} // namespace
