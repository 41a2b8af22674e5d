#include "platform/linux/GeoClueLocation.h"

#include "core/PendingCalls.h"
#include "support/FakeDBusService.h"
#include "support/FakeProcessRunner.h"
#include "support/PrivateBus.h"

#include <QDBusObjectPath>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

const QString kClient = QStringLiteral("/org/freedesktop/GeoClue2/Client/1");
const QString kFix = QStringLiteral("/org/freedesktop/GeoClue2/Location/1");

class GeoClueLocationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!m_bus.isRunning())
            GTEST_SKIP() << "needs the dbus-daemon program";
    }

    std::optional<Location::Answer> locate(GeoClueLocation& location)
    {
        std::optional<Location::Answer> answer;
        location.locate([&answer](Location::Answer given) { answer = given; });
        EXPECT_TRUE(QTest::qWaitFor([&answer] { return answer.has_value(); }, 5000));
        return answer;
    }

    PrivateBus m_bus;
    FakeProcessRunner m_processes;
};

TEST_F(GeoClueLocationTest, ABusWithoutGeoClueIsUnavailable)
{
    GeoClueLocation location(m_bus.connect(), m_processes, QString());
    EXPECT_EQ(locate(location)->status, Location::Status::unavailable);
    EXPECT_FALSE(location.canOpenSettings());
}

TEST_F(GeoClueLocationTest, StartsACityClientAndAnswersItsFirstPosition)
{
    QDBusConnection serviceBus = m_bus.connect();
    FakeDBusService geoclue(serviceBus, QStringLiteral("org.freedesktop.GeoClue2"));
    geoclue.answer(QStringLiteral("/org/freedesktop/GeoClue2/Manager"),
                   QStringLiteral("org.freedesktop.GeoClue2.Manager.GetClient"),
                   {QVariant::fromValue(QDBusObjectPath(kClient))});
    geoclue.answer(kClient, QStringLiteral("org.freedesktop.DBus.Properties.Set"));
    geoclue.answer(kClient, QStringLiteral("org.freedesktop.GeoClue2.Client.Start"));
    geoclue.answer(kClient, QStringLiteral("org.freedesktop.GeoClue2.Client.Stop"));
    geoclue.answer(kFix, QStringLiteral("org.freedesktop.DBus.Properties.GetAll"),
                   {QVariantMap{{QStringLiteral("Latitude"), 52.52}, {QStringLiteral("Longitude"), 13.41}}});
    GeoClueLocation location(m_bus.connect(), m_processes, QStringLiteral("/usr/bin/gnome-control-center"));

    std::optional<Location::Answer> answer;
    location.locate([&answer](Location::Answer given) { answer = given; });
    ASSERT_TRUE(geoclue.waitForCalls(QStringLiteral("org.freedesktop.GeoClue2.Client.Start"), 1));
    const auto sets = geoclue.callsTo(QStringLiteral("org.freedesktop.DBus.Properties.Set"));
    ASSERT_EQ(sets.size(), 2U);
    EXPECT_EQ(sets[1].arguments.value(2).value<QDBusVariant>().variant().toUInt(),
              GeoClueLocation::cityAccuracy);

    QDBusMessage updated = QDBusMessage::createSignal(
        kClient, QStringLiteral("org.freedesktop.GeoClue2.Client"), QStringLiteral("LocationUpdated"));
    updated << QVariant::fromValue(QDBusObjectPath(QStringLiteral("/")))
            << QVariant::fromValue(QDBusObjectPath(kFix));
    serviceBus.send(updated);
    ASSERT_TRUE(QTest::qWaitFor([&answer] { return answer.has_value(); }, 5000));
    EXPECT_EQ(answer->status, Location::Status::located);
    EXPECT_EQ(answer->latitude, 52.52);
    EXPECT_EQ(answer->longitude, 13.41);
    EXPECT_TRUE(geoclue.waitForCalls(QStringLiteral("org.freedesktop.GeoClue2.Client.Stop"), 1));

    location.openSettings();
    EXPECT_EQ(m_processes.calls(),
              (std::vector<FakeProcessRunner::Call>{
                  {QStringLiteral("/usr/bin/gnome-control-center"), {QStringLiteral("location")}}}));
}

TEST_F(GeoClueLocationTest, AGeoClueThatNeverAnswersFailsAtTheDeadline)
{
    FakeDBusService geoclue(m_bus.connect(), QStringLiteral("org.freedesktop.GeoClue2"));
    geoclue.neverAnswer(QStringLiteral("/org/freedesktop/GeoClue2/Manager"),
                        QStringLiteral("org.freedesktop.GeoClue2.Manager.GetClient"));
    GeoClueLocation location(m_bus.connect(), m_processes, QString(), 300ms);
    std::optional<Location::Answer> answer;
    location.locate([&answer](Location::Answer given) { answer = given; });
    ASSERT_TRUE(geoclue.waitForCalls(QStringLiteral("org.freedesktop.GeoClue2.Manager.GetClient"), 1));
    location.giveUp();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, Location::Status::failed);
    // No question outlives the deadline: the unanswered one times out before the test ends.
    PendingCalls::waitForAll(2s);
}

} // namespace
