#include "platform/linux/calendar/CombinedCalendarStore.h"

#include "support/FakeCalendarStore.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

struct TwoStores {
    FakeCalendarStore* desktop = new FakeCalendarStore;
    FakeCalendarStore* files = new FakeCalendarStore;
    std::unique_ptr<CombinedCalendarStore> combined;

    TwoStores()
    {
        files->list = {{QStringLiteral("ics-1"), QStringLiteral("Team")}};
        files->takesSources = true;
        std::vector<std::unique_ptr<CalendarStore>> stores;
        stores.emplace_back(desktop);
        stores.emplace_back(files);
        combined = std::make_unique<CombinedCalendarStore>(std::move(stores));
    }
};

CalendarEvent eventIn(const char* calendarId)
{
    CalendarEvent event;
    event.calendarId = QLatin1String(calendarId);
    return event;
}

} // namespace

TEST(CombinedCalendarStoreTest, ShowsCalendarsEventsAndChangesOfBoth)
{
    TwoStores stores;
    stores.desktop->events = {eventIn("work")};
    stores.files->events = {eventIn("ics-1")};
    EXPECT_EQ(stores.combined->calendars().size(), 3);
    const QList<CalendarEvent> events =
        stores.combined->eventsQuery({}, {}, {QStringLiteral("work"), QStringLiteral("ics-1")})();
    EXPECT_EQ(events, (QList<CalendarEvent>{eventIn("work"), eventIn("ics-1")}));

    QSignalSpy changed(stores.combined.get(), &CalendarStore::changed);
    Q_EMIT stores.files->changed();
    Q_EMIT stores.desktop->changed();
    EXPECT_EQ(changed.count(), 2);
}

TEST(CombinedCalendarStoreTest, AnswersYesAtTheFirstYesAndNoOnlyWhenAllRefuse)
{
    TwoStores stores;
    stores.desktop->status = CalendarStore::Authorization::notDetermined;
    stores.files->status = CalendarStore::Authorization::notDetermined;
    EXPECT_EQ(stores.combined->authorization(), CalendarStore::Authorization::notDetermined);

    std::vector<bool> answers;
    stores.combined->requestAccess([&](bool granted) { answers.push_back(granted); });
    stores.files->pending(true);
    stores.desktop->pending(false);
    EXPECT_EQ(answers, std::vector<bool>{true});

    answers.clear();
    stores.combined->requestAccess([&](bool granted) { answers.push_back(granted); });
    stores.desktop->pending(false);
    EXPECT_TRUE(answers.empty());
    stores.files->pending(false);
    EXPECT_EQ(answers, std::vector<bool>{false});

    stores.desktop->status = CalendarStore::Authorization::denied;
    stores.files->status = CalendarStore::Authorization::granted;
    EXPECT_EQ(stores.combined->authorization(), CalendarStore::Authorization::notDetermined);
    stores.desktop->status = CalendarStore::Authorization::granted;
    EXPECT_EQ(stores.combined->authorization(), CalendarStore::Authorization::granted);
}

TEST(CombinedCalendarStoreTest, AddedCalendarsGoToTheStoreThatTakesThem)
{
    TwoStores stores;
    EXPECT_TRUE(stores.combined->acceptsSources());
    EXPECT_EQ(stores.combined->addSource(QStringLiteral("ics-2")), std::nullopt);
    EXPECT_EQ(stores.files->sources, QStringList{QStringLiteral("ics-2")});
    EXPECT_TRUE(stores.desktop->sources.isEmpty());
    EXPECT_TRUE(stores.combined->isRemovable(QStringLiteral("ics-2")));
    EXPECT_TRUE(stores.combined->removeSource(QStringLiteral("ics-2")));
    EXPECT_FALSE(stores.combined->isRemovable(QStringLiteral("ics-2")));

    stores.combined->openApplication();
    EXPECT_EQ(stores.desktop->applicationOpened + stores.files->applicationOpened, 1);
}
