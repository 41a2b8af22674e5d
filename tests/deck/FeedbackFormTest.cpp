#include "deck/FeedbackForm.h"

#include "core/Preferences.h"
#include "model/Settings.h"
#include "support/FakeWorkspace.h"
#include "support/LocalHttpServer.h"
#include "support/LogCapture.h"
#include "support/TempHome.h"

#include <QFile>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace {

using Outcome = FeedbackForm::Outcome;

TEST(FeedbackReplyAddressTest, OnlyEmptyOrNameAtDottedHostIsUsable)
{
    const std::pair<const char*, bool> cases[] = {
        {" \n", true},          {" me@example.org\n", true}, {"me@example", false},
        {"me@example.", false}, {"me@exa mple.org", false},  {"@example.org", false},
        {"me@a@b.org", false},  {"me@a..org", false},
    };
    for (const auto& [text, usable] : cases)
        EXPECT_EQ(FeedbackForm::isUsableReplyEmail(QString::fromUtf8(text)), usable) << text;
}

class FeedbackFormTest : public TempHome {
protected:
    void submitTo(const QString& path)
    {
        m_settings.setFeedbackURL(m_server.url(path).toString());
        // Waits on the signal: polling sleeps between rounds, which a big upload feels.
        QSignalSpy changed(&m_form, &FeedbackForm::changed);
        m_form.submit();
        while (m_form.isSending())
            ASSERT_TRUE(changed.wait(5000));
    }

    Preferences m_preferences{m_paths.preferencesFile()};
    DeckSettings m_settings{m_preferences};
    LocalHttpServer m_server;
    LogCapture m_log;
    FeedbackForm m_form{m_settings};
};

TEST_F(FeedbackFormTest, PostsTheTrimmedFormAsJsonAndOnlyA2xxAnswerCountsAsSent)
{
    m_form.setCategory(FeedbackCategory::bug);
    m_form.setMessage(QStringLiteral("  It crashes\n"));
    m_form.setReplyEmail(QStringLiteral(" me@example.org "));
    m_server.answer(QStringLiteral("/form"), "{}", 201, "application/json");
    m_server.redirect(QStringLiteral("/moved"), m_server.url(QStringLiteral("/form")));
    m_server.answer(QStringLiteral("/broken"), QByteArray(32 << 20, 'x'), 500);
    const std::pair<const char*, Outcome> cases[] = {{"/missing", Outcome::failed},
                                                     {"/moved", Outcome::failed},
                                                     {"/broken", Outcome::failed},
                                                     {"/form", Outcome::sent}};
    for (const auto& [path, outcome] : cases) {
        submitTo(QString::fromUtf8(path));
        EXPECT_EQ(m_form.outcome(), outcome) << path;
        const LocalHttpServer::Request& request = m_server.requests().constLast();
        EXPECT_EQ(request.target, QString::fromUtf8(path)) << "no redirect followed";
        EXPECT_EQ(request.method + ' ' + request.contentType, "POST application/json");
        EXPECT_EQ(request.body,
                  "{\"_subject\":\"Marquetto \u2014 Bug Report\",\"app\":\"Marquetto\",\"category\":"
                  "\"Bug Report\",\"email\":\"me@example.org\",\"message\":\"It crashes\"}");
    }
    EXPECT_EQ(m_form.message(), QStringLiteral("  It crashes\n")) << "kept for a retry";

    m_form.setReplyEmail(QStringLiteral("  "));
    submitTo(QStringLiteral("/form"));
    EXPECT_EQ(
        m_server.requests().constLast().body,
        "{\"_subject\":\"Marquetto \u2014 Bug Report\",\"app\":\"Marquetto\",\"category\":\"Bug Report\","
        "\"message\":\"It crashes\"}");
}

TEST_F(FeedbackFormTest, ASentFormCannotBeSentAgainUntilItChanges)
{
    m_server.answer(QStringLiteral("/form"), "ok");
    m_form.setMessage(QStringLiteral("Thanks"));
    submitTo(QStringLiteral("/form"));
    ASSERT_EQ(m_form.outcome(), Outcome::sent);
    EXPECT_FALSE(m_form.canSubmit());
    m_form.submit();
    EXPECT_EQ(m_server.requests().size(), 1);

    m_form.setMessage(QStringLiteral("Thanks again"));
    EXPECT_TRUE(m_form.canSubmit());
    EXPECT_EQ(m_form.outcome(), std::nullopt);
}

TEST_F(FeedbackFormTest, WithoutAServiceTheMessageGoesToTheEmailAppOrIntoAFile)
{
    FakeWorkspace workspace;
    m_form.setCategory(FeedbackCategory::bug);
    m_form.setMessage(QStringLiteral(" Tiles & pages + more?\nSecond line "));
    m_form.setReplyEmail(QStringLiteral("me@example.org"));
    EXPECT_FALSE(m_form.hasService());
    EXPECT_FALSE(m_form.canSubmit());
    m_form.submit();
    EXPECT_EQ(m_form.outcome(), std::nullopt) << "nothing is posted anywhere";

    const auto mail = [this](const QString& address) {
        m_form.setRecipient(address);
        const QUrl url = m_form.mailURL();
        const QUrlQuery query(url);
        EXPECT_EQ(url.scheme(), QStringLiteral("mailto"));
        EXPECT_EQ(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
                  QStringLiteral("Marquetto \u2014 Bug Report"));
        EXPECT_EQ(query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded),
                  QStringLiteral("Tiles & pages + more?\nSecond line"));
        return url.path();
    };
    EXPECT_EQ(mail(QString()), QString()) << "the email app asks whom to send it to";
    EXPECT_EQ(mail(QStringLiteral("not an address")), QString());
    EXPECT_EQ(mail(QStringLiteral(" team@example.org ")), QStringLiteral("team@example.org"));
    m_form.openInMail(workspace);
    ASSERT_EQ(workspace.opened.size(), 1U);
    EXPECT_EQ(workspace.opened[0], m_form.mailURL());
    EXPECT_EQ(m_form.outcome(), Outcome::handedToMail);

    const QString path = m_dir.filePath(QStringLiteral("feedback.txt"));
    m_form.saveAsFile(path);
    EXPECT_EQ(m_form.outcome(), Outcome::saved);
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(saved.readAll()),
              QStringLiteral("To: team@example.org\nSubject: Marquetto \u2014 Bug Report\nReply-To: "
                             "me@example.org\n\nTiles & pages + more?\nSecond line\n"));

    m_form.saveAsFile(m_dir.filePath(QStringLiteral("missing/feedback.txt")));
    EXPECT_EQ(m_form.outcome(), Outcome::saveFailed);
    EXPECT_FALSE(m_form.outcomeDetail().isEmpty()) << "the view says why";
}

TEST_F(FeedbackFormTest, ASendThatHangsIsSentOnceAndFailsAtItsDeadline)
{
    m_server.stall(QStringLiteral("/form"));
    m_form.setMessage(QStringLiteral("Hello"));
    m_settings.setFeedbackURL(m_server.url(QStringLiteral("/form")).toString());
    m_form.submit();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_server.requests().isEmpty(); }, 5000));
    m_form.submit();
    m_form.abandonRequest();
    EXPECT_FALSE(m_form.isSending());
    EXPECT_EQ(m_form.outcome(), Outcome::failed);
    EXPECT_EQ(m_server.requests().size(), 1);

    auto doomed = std::make_unique<FeedbackForm>(m_settings);
    doomed->setMessage(QStringLiteral("Bye"));
    doomed->submit();
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_server.requests().size() == 2; }, 5000));
    doomed.reset();
    QTest::qWait(0);
}

TEST_F(FeedbackFormTest, EndpointsOtherThanHttpsOrThisMachineFailAtOnceWithoutTraffic)
{
    m_form.setMessage(QStringLiteral("Hello"));
    for (const char* url : {"http://192.0.2.1/form", "ftp://127.0.0.1/form", "not an address"}) {
        m_settings.setFeedbackURL(QString::fromUtf8(url));
        m_form.submit();
        EXPECT_FALSE(m_form.isSending());
        EXPECT_EQ(m_form.outcome(), Outcome::failed) << url;
    }
    EXPECT_TRUE(m_server.requests().isEmpty());
    EXPECT_EQ(m_log.lines().size(), 3);
}

TEST_F(FeedbackFormTest, AHugeMessageWithBrokenTextStillGoesOutAsValidJson)
{
    m_server.answer(QStringLiteral("/form"), {});
    QString message(10 << 20, u'a');
    message[5] = QChar(0xD800);
    message[message.size() - 3] = QChar(0xDFFF);
    m_form.setMessage(message);
    submitTo(QStringLiteral("/form"));
    EXPECT_EQ(m_form.outcome(), Outcome::sent);
    QJsonParseError error{};
    const QJsonDocument sent = QJsonDocument::fromJson(m_server.requests().value(0).body, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_GE(sent.object().value(QStringLiteral("message")).toString().size(), 10 << 20);
}

} // namespace
