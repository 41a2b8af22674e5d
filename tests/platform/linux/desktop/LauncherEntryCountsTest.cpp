#include "platform/linux/desktop/LauncherEntryCounts.h"

#include "support/FakeWorkspace.h"
#include "support/LogCapture.h"
#include "support/PrivateBus.h"

#include <QDBusConnectionInterface>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class LauncherEntryCountsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!m_bus.isRunning())
            GTEST_SKIP() << "needs the dbus-daemon program";
        m_counts = std::make_unique<LauncherEntryCounts>(m_listener, m_workspace);
        std::optional<int> first;
        m_counts->read(m_counts.get(), [&first](UnreadMessages::Reading reading) { first = reading.count; });
        ASSERT_TRUE(QTest::qWaitFor([&first] { return first.has_value(); }, 5000));
        ASSERT_TRUE(QTest::qWaitFor(
            [this] { return m_listener.interface()->isServiceRegistered(m_listener.baseService()); }, 5000))
            << "a round trip after the match rule was added";
    }

    // Emits an Update from `app` and waits until the count is what the test expects.
    [[nodiscard]] bool update(QDBusConnection& app, const QString& uri, const QVariantMap& properties,
                              int total)
    {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/com/example/badge"),
                                                         QStringLiteral("com.canonical.Unity.LauncherEntry"),
                                                         QStringLiteral("Update"));
        signal << uri << properties;
        app.send(signal);
        app.interface()->isServiceRegistered(app.baseService());
        return QTest::qWaitFor([&] { return m_counts->total() == total; }, 5000);
    }

    PrivateBus m_bus;
    QDBusConnection m_listener = m_bus.connect();
    FakeWorkspace m_workspace;
    std::unique_ptr<LauncherEntryCounts> m_counts;
};

TEST_F(LauncherEntryCountsTest, SumsVisibleBadgesIgnoresBadValuesAndForgetsAppsThatLeave)
{
    QDBusConnection chat = m_bus.connect();
    const QString chatApp = QStringLiteral("application://org.example.Chat.desktop");
    const QString mailApp = QStringLiteral("application://org.example.Mail.desktop");
    const auto visible = QStringLiteral("count-visible");
    const auto count = QStringLiteral("count");
    ASSERT_TRUE(update(chat, chatApp, {{count, qint64(3)}, {visible, true}}, 3));
    QString mailName;
    {
        QDBusConnection mail = m_bus.connect();
        mailName = mail.name();
        LogCapture log;
        ASSERT_TRUE(update(mail, mailApp, {{count, qint64(5)}, {visible, false}}, 3)) << "hidden";
        ASSERT_TRUE(update(mail, mailApp, {{visible, true}}, 8)) << "the count it sent before";
        for (const QVariantMap& bad : std::initializer_list<QVariantMap>{
                 {{count, qint64(-2)}},
                 {{count, qint64(1) << 40}},
                 {{count, QStringLiteral("9")}},
                 {{count, 2.5}, {visible, QStringLiteral("yes")}},
             })
            ASSERT_TRUE(update(mail, mailApp, bad, 8));
        ASSERT_TRUE(log.waitForLines(5));
        EXPECT_EQ(m_counts->total(), 8);

        m_workspace.applications.insert(QStringLiteral("org.example.Mail.desktop"),
                                        QStringLiteral("/mail.desktop"));
        m_counts->open();
        EXPECT_EQ(m_workspace.launched, QStringList{QStringLiteral("/mail.desktop")}) << "the highest count";
    }
    QDBusConnection::disconnectFromBus(mailName);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_counts->total() == 3; }, 5000));
    ASSERT_TRUE(update(chat, chatApp, {{count, qint64(0)}}, 0));
    m_counts->open();
    ASSERT_EQ(m_workspace.opened.size(), 1u);
    EXPECT_EQ(m_workspace.opened.front(), QUrl(QStringLiteral("mailto:")))
        << "no count: the mail application";
}

TEST(LauncherEntryDesktopId, ComesFromAnApplicationAddress)
{
    EXPECT_EQ(LauncherEntryCounts::desktopId(QStringLiteral("application://org.gnome.Evolution.desktop")),
              QStringLiteral("org.gnome.Evolution.desktop"));
    for (const char* bad :
         {"application://", "file:///usr/share/applications/x.desktop", "application://a/b"})
        EXPECT_EQ(LauncherEntryCounts::desktopId(QString::fromUtf8(bad)), std::nullopt) << bad;
}

} // namespace
