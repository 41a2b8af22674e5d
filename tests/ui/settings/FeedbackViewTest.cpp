#include "ui/settings/FeedbackView.h"

#include "core/Preferences.h"
#include "deck/FeedbackForm.h"
#include "model/Settings.h"
#include "support/FakeWorkspace.h"
#include "support/LocalHttpServer.h"
#include "support/TempHome.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class FeedbackViewTest : public TempHome {
protected:
    template <typename Widget>
    [[nodiscard]] Widget& child(const char* name)
    {
        return *m_view.findChild<Widget*>(QString::fromLatin1(name));
    }

    Preferences m_preferences{m_paths.preferencesFile()};
    DeckSettings m_settings{m_preferences};
    LocalHttpServer m_server;
    FakeWorkspace m_workspace;
    std::optional<QString> m_chosenFile;
    FeedbackView m_view{m_settings, {m_workspace, {}, [this](const QString&) { return m_chosenFile; }}};
};

TEST_F(FeedbackViewTest, SubmitWaitsForAMessageAndAUsableAddressThenShowsTheOutcome)
{
    m_settings.setFeedbackURL(QStringLiteral("http://192.0.2.1/form"));
    auto& submit = child<QPushButton>("submit");
    auto& check = child<QLabel>("emailCheck");
    child<QPlainTextEdit>("message").setPlainText(QStringLiteral("  \n "));
    EXPECT_FALSE(submit.isEnabled());
    child<QPlainTextEdit>("message").setPlainText(QStringLiteral("Dark mode"));
    EXPECT_TRUE(submit.isEnabled() && check.isHidden());
    child<QLineEdit>("email").setText(QStringLiteral("me@example"));
    EXPECT_FALSE(submit.isEnabled() || check.isHidden());
    child<QLineEdit>("email").clear();

    QTest::mouseClick(&submit, Qt::LeftButton);
    EXPECT_EQ(child<QLabel>("outcome").text(),
              QStringLiteral("Couldn't send. Check your connection and retry."));
    EXPECT_EQ(child<QPlainTextEdit>("message").toPlainText(), QStringLiteral("Dark mode"));

    m_server.answer(QStringLiteral("/form"), "ok");
    m_settings.setFeedbackURL(m_server.url(QStringLiteral("/form")).toString());
    child<QComboBox>("category").setCurrentIndex(2);
    QSignalSpy changed(m_view.findChild<FeedbackForm*>(), &FeedbackForm::changed);
    QTest::mouseClick(&submit, Qt::LeftButton);
    EXPECT_FALSE(submit.isEnabled()) << "not while sending";
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(child<QLabel>("outcome").text(), QStringLiteral("Sent. Thank you!"));
    EXPECT_TRUE(m_server.requests().value(0).body.contains("\"category\":\"Feature Request\""));
    EXPECT_FALSE(submit.isEnabled()) << "sent once";
}

TEST_F(FeedbackViewTest, WithoutAServiceTheMessageGoesToTheEmailAppOrAFileTheUserChooses)
{
    auto& openInMail = child<QPushButton>("openInMail");
    auto& saveAsFile = child<QPushButton>("saveAsFile");
    EXPECT_TRUE(child<QPushButton>("submit").isHidden());
    EXPECT_FALSE(child<QLabel>("noService").isHidden());
    EXPECT_FALSE(openInMail.isEnabled() || saveAsFile.isEnabled()) << "no message yet";
    child<QPlainTextEdit>("message").setPlainText(QStringLiteral("Dark mode"));

    QTest::mouseClick(&openInMail, Qt::LeftButton);
    ASSERT_EQ(m_workspace.opened.size(), 1U);
    EXPECT_EQ(m_workspace.opened[0].scheme(), QStringLiteral("mailto"));
    EXPECT_TRUE(
        child<QLabel>("outcome").text().startsWith(QStringLiteral("The message is in your email app")));

    QTest::mouseClick(&saveAsFile, Qt::LeftButton);
    EXPECT_TRUE(child<QLabel>("outcome").text().startsWith(QStringLiteral("The message is in")))
        << "a dismissed file panel changes nothing";
    m_chosenFile = m_dir.filePath(QStringLiteral("feedback.txt"));
    QTest::mouseClick(&saveAsFile, Qt::LeftButton);
    EXPECT_TRUE(QFile::exists(*m_chosenFile));
    EXPECT_EQ(child<QLabel>("outcome").text(), QStringLiteral("Saved to %1. Thank you!").arg(*m_chosenFile));

    m_settings.setFeedbackURL(m_server.url(QStringLiteral("/form")).toString());
    EXPECT_FALSE(child<QPushButton>("submit").isHidden());
    EXPECT_TRUE(openInMail.isHidden() && saveAsFile.isHidden() && child<QLabel>("noService").isHidden());
}

} // namespace
