#include "platform/linux/calendar/DeferredCalendarStore.h"

#include "platform/linux/calendar/EdsCalendarModule.h"
#include "support/FakeCalendarStore.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

TEST(DeferredCalendarStoreTest, TheStoreIsMadeOnTheFirstRequestAndAnsweredForFromThen)
{
    int made = 0;
    FakeCalendarStore* fake = nullptr;
    DeferredCalendarStore store([&] {
        ++made;
        auto inner = std::make_unique<FakeCalendarStore>();
        inner->status = CalendarStore::Authorization::notDetermined;
        fake = inner.get();
        return inner;
    });
    // Before anyone asks, a band without the meeting module costs nothing.
    EXPECT_EQ(store.authorization(), CalendarStore::Authorization::notDetermined);
    EXPECT_TRUE(store.calendars().isEmpty());
    EXPECT_TRUE(store.eventsQuery({}, {}, {QStringLiteral("work")})().isEmpty());
    store.stopFollowing();
    EXPECT_FALSE(store.isRemovable(QStringLiteral("work")));
    EXPECT_EQ(made, 0);

    std::optional<bool> granted;
    store.requestAccess([&](bool answer) { granted = answer; });
    ASSERT_EQ(made, 1);
    ASSERT_TRUE(fake->pending);
    std::exchange(fake->pending, {})(true);
    fake->status = CalendarStore::Authorization::granted;
    EXPECT_EQ(granted, true);
    EXPECT_EQ(store.authorization(), CalendarStore::Authorization::granted);
    EXPECT_EQ(store.calendars(), fake->list);

    QSignalSpy changed(&store, &CalendarStore::changed);
    Q_EMIT fake->changed();
    EXPECT_EQ(changed.count(), 1);
    store.requestAccess([](bool) {});
    store.openApplication();
    EXPECT_EQ(made, 1);
    EXPECT_EQ(fake->applicationOpened, 1);
}

TEST(DeferredCalendarStoreTest, AStoreThatCannotBeMadeIsADesktopWithoutCalendars)
{
    int tries = 0;
    DeferredCalendarStore store([&] {
        ++tries;
        return std::unique_ptr<CalendarStore>();
    });
    std::optional<bool> granted;
    store.requestAccess([&](bool answer) { granted = answer; });
    EXPECT_EQ(granted, true);
    EXPECT_EQ(store.authorization(), CalendarStore::Authorization::granted);
    EXPECT_TRUE(store.calendars().isEmpty());
    EXPECT_TRUE(store.addSource(QStringLiteral("/tmp/work.ics")).has_value());
    store.requestAccess([](bool) {});
    EXPECT_EQ(tries, 1) << "a module that did not load is not looked for again";
}

TEST(EdsCalendarModuleTest, AProgramLooksForItsOwnBuildsModuleBesideItOrWhereItsTreeWasInstalled)
{
    const QStringList paths = EdsCalendarModule::candidates(QStringLiteral("/opt/marquetto/bin"));
    ASSERT_EQ(paths.size(), 2);
    EXPECT_EQ(paths.first(), QStringLiteral("/opt/marquetto/bin/marquetto-eds.so"));
    EXPECT_TRUE(paths.last().startsWith(QStringLiteral("/opt/marquetto/lib")));
    EXPECT_TRUE(paths.last().endsWith(QStringLiteral("/marquetto/marquetto-eds.so")));
}

} // namespace
