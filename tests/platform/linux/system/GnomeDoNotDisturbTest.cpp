#include "platform/linux/system/GnomeDoNotDisturb.h"

#include "core/BackgroundQueue.h"
#include "support/FakeDBusService.h"
#include "support/FakeProcessRunner.h"
#include "support/PrivateBus.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Made on first use: one made during static initialisation starts Qt's D-Bus thread whenever the binary runs,
// even only to list its tests.
const QDBusConnection& noBus()
{
    static const QDBusConnection bus(QStringLiteral("never connected"));
    return bus;
}

TEST(GnomeDoNotDisturbTest, BannersOffMeanOnAndAClickWritesTheOpposite)
{
    FakeProcessRunner processes;
    GnomeDoNotDisturb dnd(processes, QStringLiteral("/usr/bin/gsettings"), noBus());
    const QString get = QStringLiteral("/usr/bin/gsettings get org.gnome.desktop.notifications show-banners");
    const struct {
        std::optional<QString> output;
        std::optional<bool> active;
    } cases[] = {
        {QStringLiteral("false\n"), true},
        {QStringLiteral("true\n"), false},
        {QStringLiteral("No such schema “org.gnome.desktop.notifications”\n"), std::nullopt},
        {std::nullopt, std::nullopt},
    };
    for (const auto& test : cases) {
        FakeProcessRunner fresh;
        if (test.output)
            fresh.answer(get, *test.output);
        GnomeDoNotDisturb reader(fresh, QStringLiteral("/usr/bin/gsettings"), noBus());
        std::optional<DoNotDisturb::Reading> reading;
        reader.read(&reader, [&reading](DoNotDisturb::Reading answer) { reading = answer; });
        BackgroundQueue::waitForDone();
        QCoreApplication::processEvents();
        EXPECT_EQ(reading, (DoNotDisturb::Reading{test.active, false}));
    }

    EXPECT_TRUE(dnd.turn(true));
    EXPECT_EQ(processes.calls().back().arguments,
              (QStringList{QStringLiteral("set"), QStringLiteral("org.gnome.desktop.notifications"),
                           QStringLiteral("show-banners"), QStringLiteral("false")}));
}

TEST(GnomeDoNotDisturbTest, OnlyNoticesOfTheBannersKeyOrAFolderAboveItConcernIt)
{
    const struct {
        const char* prefix;
        QStringList changes;
        bool touches;
    } cases[] = {
        {"/org/gnome/desktop/notifications/show-banners", {QString()}, true},
        {"/org/gnome/desktop/notifications/",
         {QStringLiteral("application-children"), QStringLiteral("show-banners")},
         true},
        {"/org/gnome/desktop/", {QString()}, true},
        {"/org/gnome/desktop/notifications/", {QStringLiteral("show-in-lock-screen")}, false},
        {"/org/gnome/desktop/notifications/show-banners-extra", {QString()}, false},
        {"/org/gnome/desktop/interface/", {QString()}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GnomeDoNotDisturb::touchesShowBanners(QString::fromLatin1(c.prefix), c.changes), c.touches)
            << c.prefix;
}

class GnomeDoNotDisturbFollowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!m_bus.isRunning())
            GTEST_SKIP() << "needs the dbus-daemon program";
    }

    // Lets `dnd` connect to the bus, and makes sure the bus has taken its match rule.
    void follow(GnomeDoNotDisturb& dnd)
    {
        ASSERT_TRUE(dnd.follow());
        BackgroundQueue::waitForDone();
        QCoreApplication::processEvents();
        ASSERT_TRUE(m_client.interface()->isServiceRegistered(QStringLiteral("ca.desrt.dconf")).value());
    }

    void notice(const QString& prefix)
    {
        m_dconf->emitSignal(QStringLiteral("/ca/desrt/dconf/Writer/user"),
                            QStringLiteral("ca.desrt.dconf.Writer"), QStringLiteral("Notify"),
                            {prefix, QStringList{QString()}, QStringLiteral(":1.9:user:0")});
    }

    PrivateBus m_bus;
    QDBusConnection m_client = m_bus.connect();
    std::unique_ptr<FakeDBusService> m_dconf =
        m_bus.isRunning()
            ? std::make_unique<FakeDBusService>(m_bus.connect(), QStringLiteral("ca.desrt.dconf"))
            : nullptr;
    FakeProcessRunner m_processes;
};

TEST_F(GnomeDoNotDisturbFollowTest, TellsOfBannerChangesWhileFollowingAndOfNothingAfter)
{
    GnomeDoNotDisturb dnd(m_processes, QStringLiteral("/usr/bin/gsettings"), m_client);
    GnomeDoNotDisturb witness(m_processes, QStringLiteral("/usr/bin/gsettings"), m_client);
    QSignalSpy changed(&dnd, &DoNotDisturb::changed);
    QSignalSpy witnessed(&witness, &DoNotDisturb::changed);
    follow(dnd);
    follow(witness);

    notice(QStringLiteral("/org/gnome/desktop/interface/clock-format"));
    notice(QStringLiteral("/org/gnome/desktop/notifications/show-banners"));
    ASSERT_TRUE(changed.wait());
    EXPECT_EQ(changed.count(), 1) << "another key's change is none of its business";

    dnd.stopFollowing();
    notice(QStringLiteral("/org/gnome/desktop/notifications/"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return witnessed.count() == 2; }));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(m_processes.calls().empty()) << "following runs no program";
}

} // namespace
