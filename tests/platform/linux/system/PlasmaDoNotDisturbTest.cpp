#include "platform/linux/system/PlasmaDoNotDisturb.h"

#include "support/FakeDBusService.h"
#include "support/LogCapture.h"
#include "support/PrivateBus.h"

#include <QDBusVariant>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString path = QStringLiteral("/org/freedesktop/Notifications");

TEST(PlasmaDoNotDisturbTest, ReadsInhibitedAndLiftsOnlyItsOwnInhibition)
{
    PrivateBus bus;
    if (!bus.isRunning())
        GTEST_SKIP() << "needs the dbus-daemon program";
    QDBusConnection client = bus.connect();
    FakeDBusService server(bus.connect(), QStringLiteral("org.freedesktop.Notifications"));
    server.answer(path, QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                  {QVariant::fromValue(QDBusVariant(true))});
    server.answer(path, QStringLiteral("org.freedesktop.Notifications.Inhibit"), {uint(42)});
    server.answer(path, QStringLiteral("org.freedesktop.Notifications.UnInhibit"));
    PlasmaDoNotDisturb dnd(client, std::chrono::seconds(5));

    std::optional<DoNotDisturb::Reading> reading;
    dnd.read(&dnd, [&reading](DoNotDisturb::Reading answer) { reading = answer; });
    ASSERT_TRUE(QTest::qWaitFor([&reading] { return reading.has_value(); }, 5000));
    EXPECT_EQ(reading, (DoNotDisturb::Reading{true, false}));

    LogCapture log;
    EXPECT_FALSE(dnd.turn(false)) << "someone else's inhibition";
    EXPECT_EQ(log.lines().size(), 1);

    const QString unInhibit = QStringLiteral("org.freedesktop.Notifications.UnInhibit");
    EXPECT_TRUE(dnd.turn(true));
    ASSERT_TRUE(server.waitForCalls(QStringLiteral("org.freedesktop.Notifications.Inhibit"), 1));
    server.settle(client);
    EXPECT_TRUE(dnd.turn(false));
    ASSERT_TRUE(server.waitForCalls(unInhibit, 1));
    EXPECT_EQ(server.callsTo(unInhibit).front().arguments, QVariantList{uint(42)});

    // Off before the server has answered: the inhibition is given back once it is granted.
    EXPECT_TRUE(dnd.turn(true));
    EXPECT_TRUE(dnd.turn(false));
    ASSERT_TRUE(server.waitForCalls(unInhibit, 2));
    EXPECT_EQ(server.callsTo(unInhibit).back().arguments, QVariantList{uint(42)});
    EXPECT_FALSE(dnd.turn(false));
    server.settle(client);
}

} // namespace
