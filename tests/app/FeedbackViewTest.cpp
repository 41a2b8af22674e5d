#include "app/FeedbackView.h"

#include "app/FeedbackForm.h"
#include "model/Settings.h"
#include "platform/Preferences.h"
#include "support/LocalHttpServer.h"
#include "support/TempHome.h"

#include <QComboBox>
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
    [[nodiscard]] Widget& part(const char* name)
    {
        auto* widget = m_view.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_TRUE(widget) << name;
        return *widget;
    }

    void clickAndSettle()
    {
        auto& form = *m_view.findChild<FeedbackForm*>();
        QSignalSpy changed(&form, &FeedbackForm::changed);
        QTest::mouseClick(&part<QPushButton>("submit"), Qt::LeftButton);
        while (form.isSending())
            ASSERT_TRUE(changed.wait(5000));
    }

    Preferences m_preferences{m_paths.preferencesFile()};
    DeckSettings m_settings{m_preferences};
    LocalHttpServer m_server;
    FeedbackView m_view{m_settings};
};

TEST_F(FeedbackViewTest, SubmitWaitsForAMessageAndAUsableAddress)
{
    auto& submit = part<QPushButton>("submit");
    auto& check = part<QLabel>("emailCheck");
    EXPECT_FALSE(submit.isEnabled());
    part<QPlainTextEdit>("message").setPlainText(QStringLiteral("  \n "));
    EXPECT_FALSE(submit.isEnabled());
    part<QPlainTextEdit>("message").setPlainText(QStringLiteral("Thanks"));
    EXPECT_TRUE(submit.isEnabled());
    EXPECT_TRUE(check.isHidden());

    part<QLineEdit>("email").setText(QStringLiteral("me@example"));
    EXPECT_FALSE(submit.isEnabled());
    EXPECT_FALSE(check.isHidden());
    EXPECT_EQ(check.text(), QStringLiteral("Check the email address."));
    part<QLineEdit>("email").setText(QStringLiteral("me@example.org"));
    EXPECT_TRUE(submit.isEnabled());
    EXPECT_TRUE(check.isHidden());
}

TEST_F(FeedbackViewTest, SendsThePickedCategoryAndShowsTheOutcomeKeepingTheTextAfterAFailure)
{
    m_server.answer(QStringLiteral("/form"), "ok");
    m_server.stall(QStringLiteral("/slow"));
    m_settings.setFeedbackURL(m_server.url(QStringLiteral("/form")).toString());
    auto& category = part<QComboBox>("category");
    ASSERT_EQ(category.count(), 4);
    EXPECT_EQ(category.itemText(1), QStringLiteral("Bug Report"));
    category.setCurrentIndex(2);
    part<QPlainTextEdit>("message").setPlainText(QStringLiteral("Dark mode"));
    clickAndSettle();
    EXPECT_EQ(part<QLabel>("outcome").text(), QStringLiteral("Sent. Thank you!"));
    EXPECT_TRUE(m_server.requests().value(0).body.contains("\"category\":\"Feature Request\""));

    m_settings.setFeedbackURL(m_server.url(QStringLiteral("/missing")).toString());
    clickAndSettle();
    EXPECT_EQ(part<QLabel>("outcome").text(),
              QStringLiteral("Couldn't send. Check your connection and retry."));
    EXPECT_EQ(part<QPlainTextEdit>("message").toPlainText(), QStringLiteral("Dark mode"));

    m_settings.setFeedbackURL(m_server.url(QStringLiteral("/slow")).toString());
    QTest::mouseClick(&part<QPushButton>("submit"), Qt::LeftButton);
    EXPECT_FALSE(part<QPushButton>("submit").isEnabled()) << "not while sending";
    EXPECT_TRUE(part<QLabel>("outcome").isHidden());
}

} // namespace
