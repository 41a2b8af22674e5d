#include "platform/linux/system/GeoClueLocation.h"

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
const QString kManager = QStringLiteral("/org/freedesktop/GeoClue2/Manager");
const QString kGetClient = QStringLiteral("org.freedesktop.GeoClue2.Manager.GetClient");
const QString kSet = QStringLiteral("org.freedesktop.DBus.Properties.Set");
const QString kStart = QStringLiteral("org.freedesktop.GeoClue2.Client.Start");
const QString kStop = QStringLiteral("org.freedesktop.GeoClue2.Client.Stop");

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

TEST_F(GeoClueLocationTest, WithoutGeoClueItIsUnavailableElseItStartsACityClientAndAnswersItsFirstPosition)
{
    GeoClueLocation location(m_bus.connect(), m_processes, QStringLiteral("/usr/bin/gnome-control-center"));
    EXPECT_EQ(locate(location)->status, Location::Status::unavailable);
    EXPECT_FALSE(GeoClueLocation(m_bus.connect(), m_processes, QString()).canOpenSettings());

    QDBusConnection serviceBus = m_bus.connect();
    FakeDBusService geoclue(serviceBus, QStringLiteral("org.freedesktop.GeoClue2"));
    geoclue.answer(kManager, kGetClient, {QVariant::fromValue(QDBusObjectPath(kClient))});
    for (const QString& method : {kSet, kStart, kStop})
        geoclue.answer(kClient, method);
    geoclue.answer(kFix, QStringLiteral("org.freedesktop.DBus.Properties.GetAll"),
                   {QVariantMap{{QStringLiteral("Latitude"), 52.52}, {QStringLiteral("Longitude"), 13.41}}});

    std::optional<Location::Answer> answer;
    location.locate([&answer](Location::Answer given) { answer = given; });
    ASSERT_TRUE(geoclue.waitForCalls(kStart, 1));
    const auto sets = geoclue.callsTo(kSet);
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
    EXPECT_TRUE(geoclue.waitForCalls(kStop, 1));

    location.openSettings();
    EXPECT_EQ(m_processes.calls(),
              (std::vector<FakeProcessRunner::Call>{
                  {QStringLiteral("/usr/bin/gnome-control-center"), {QStringLiteral("location")}}}));
}

TEST_F(GeoClueLocationTest, AGeoClueThatNeverAnswersFailsAtTheDeadline)
{
    FakeDBusService geoclue(m_bus.connect(), QStringLiteral("org.freedesktop.GeoClue2"));
    geoclue.neverAnswer(kManager, kGetClient);
    GeoClueLocation location(m_bus.connect(), m_processes, QString(), 300ms);
    std::optional<Location::Answer> answer;
    location.locate([&answer](Location::Answer given) { answer = given; });
    ASSERT_TRUE(geoclue.waitForCalls(kGetClient, 1));
    location.giveUp();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, Location::Status::failed);
    // No question outlives the deadline: the unanswered one times out before the test ends.
    PendingCalls::waitForAll(2s);
}

} // namespace
