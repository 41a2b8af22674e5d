#include "band/PublicIPEngine.h"

#include "core/Preferences.h"
#include "model/Settings.h"
#include "support/LocalHttpServer.h"
#include "support/LogCapture.h"
#include "support/TempHome.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

TEST(PublicIPAddressTest, OnlyBodiesThatLookLikeAnAddressAreTaken)
{
    const struct {
        QByteArray body;
        std::optional<QString> address;
    } cases[] = {
        {"203.0.113.7\n", QStringLiteral("203.0.113.7")},
        {"  2001:db8::1\r\n", QStringLiteral("2001:db8::1")},
        {"1.2.3", std::nullopt},
        {"1..2.3", std::nullopt},
        {"1.2.3.4.5", std::nullopt},
        {"", std::nullopt},
        {"198.51.100.1" + QByteArray(60, ' '), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PublicIPEngine::addressIn(c.body), c.address) << c.body.toStdString();
}

class PublicIPEngineTest : public TempHome {
protected:
    void SetUp() override { m_settings.setPublicIPURL(m_server.url(QStringLiteral("/ip")).toString()); }

    void fetchAndSettle()
    {
        m_engine.fetch();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !m_engine.isFetching(); }, 5000));
    }

    Preferences m_preferences{m_paths.preferencesFile()};
    DeckSettings m_settings{m_preferences};
    LocalHttpServer m_server;
    LogCapture m_log;
    PublicIPEngine m_engine{m_settings, 8s};
};

TEST_F(PublicIPEngineTest, ShowsPendingThenTheAddressAndKeepsItThroughFailedRefreshes)
{
    EXPECT_EQ(m_engine.text(), QStringLiteral("…"));
    m_server.answer(QStringLiteral("/ip"), "<!doctype html><p>Service unavailable</p>", 503, "text/html");
    fetchAndSettle();
    EXPECT_TRUE(m_engine.failed()) << "no address was ever seen";
    EXPECT_EQ(m_engine.text(), QStringLiteral("—"));

    m_server.answer(QStringLiteral("/ip"), "203.0.113.7\n");
    fetchAndSettle();
    EXPECT_EQ(m_engine.text(), QStringLiteral("203.0.113.7"));

    QSignalSpy changed(&m_engine, &PublicIPEngine::changed);
    for (const auto& [body, status] : {std::pair<QByteArray, int>{"<html>busy</html>", 200},
                                       {"198.51.100.1", 500},
                                       {"198.51.100.1" + QByteArray(1 << 20, ' '), 200}}) {
        m_server.answer(QStringLiteral("/ip"), body, status);
        fetchAndSettle();
        EXPECT_EQ(m_engine.ip(), QStringLiteral("203.0.113.7"));
        EXPECT_FALSE(m_engine.failed());
    }
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(PublicIPEngineTest, ASlowServiceHoldsOneRequestUntilItsDeadline)
{
    m_server.stall(QStringLiteral("/ip"));
    m_engine.start();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_server.targets().isEmpty(); }, 5000));
    m_engine.fetch();
    m_engine.fetch();
    EXPECT_TRUE(m_engine.isFetching());
    EXPECT_EQ(m_server.targets().size(), 1);

    m_engine.abandonRequest();
    EXPECT_FALSE(m_engine.isFetching());
    EXPECT_TRUE(m_engine.failed());

    m_server.answer(QStringLiteral("/ip"), "2001:db8::1");
    fetchAndSettle();
    EXPECT_EQ(m_engine.text(), QStringLiteral("2001:db8::1"));
    EXPECT_FALSE(m_engine.failed());
}

TEST_F(PublicIPEngineTest, InsecureAddressesAndRedirectsAreRefused)
{
    m_server.answer(QStringLiteral("/ip"), "203.0.113.7");
    const QUrl loop = m_server.url(QStringLiteral("/loop"));
    m_server.redirect(QStringLiteral("/loop"), loop);
    m_server.redirect(QStringLiteral("/away"), QUrl(QStringLiteral("http://192.0.2.1/ip")));
    for (const QString& url : {QStringLiteral("http://192.0.2.1/ip"), QStringLiteral("ftp://127.0.0.1/ip"),
                               QStringLiteral("not an address"), loop.toString(),
                               m_server.url(QStringLiteral("/away")).toString()}) {
        m_settings.setPublicIPURL(url);
        fetchAndSettle();
        EXPECT_TRUE(m_engine.failed()) << url.toStdString();
    }
    EXPECT_TRUE(std::none_of(m_server.targets().cbegin(), m_server.targets().cend(),
                             [](const QString& target) { return target == u"/ip"; }));
    EXPECT_FALSE(m_log.lines().isEmpty());
}

} // namespace
