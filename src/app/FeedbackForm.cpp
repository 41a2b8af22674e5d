#include "app/FeedbackForm.h"

#include "band/Endpoint.h"
#include "core/CanonicalJson.h"
#include "model/Settings.h"

#include <algorithm>

FeedbackForm::FeedbackForm(const DeckSettings& settings, std::chrono::milliseconds timeout, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    // A form service that redirects is misconfigured: following it would post the message somewhere else.
    , m_fetch(QStringLiteral("feedback"), SingleFetch::Limits{timeout, maxAnswerBytes, 0})
{
}

void FeedbackForm::setCategory(FeedbackCategory category)
{
    if (category == m_category)
        return;
    m_category = category;
    Q_EMIT changed();
}

void FeedbackForm::setMessage(const QString& message)
{
    if (message == m_message)
        return;
    m_message = message;
    Q_EMIT changed();
}

void FeedbackForm::setReplyEmail(const QString& replyEmail)
{
    if (replyEmail == m_replyEmail)
        return;
    m_replyEmail = replyEmail;
    Q_EMIT changed();
}

bool FeedbackForm::hasMessage() const
{
    return !m_message.trimmed().isEmpty();
}

bool FeedbackForm::canSubmit() const
{
    return hasMessage() && isUsableReplyEmail(m_replyEmail) && !isSending();
}

void FeedbackForm::submit()
{
    if (!canSubmit())
        return;
    const std::optional<QUrl> endpoint =
        Endpoint::fromPreference(QStringLiteral("feedbackURL"), m_settings.feedbackURL());
    if (!endpoint) {
        finish(Outcome::failed);
        return;
    }
    const QByteArray body = CanonicalJson::write(requestBody(m_category, m_message, m_replyEmail));
    m_outcome.reset();
    m_fetch.post(*endpoint, "application/json", body, [this](const std::optional<QByteArray>& answer) {
        finish(answer ? Outcome::sent : Outcome::failed);
    });
    Q_EMIT changed();
}

void FeedbackForm::finish(Outcome outcome)
{
    m_outcome = outcome;
    Q_EMIT changed();
}

bool FeedbackForm::isUsableReplyEmail(const QString& text)
{
    const QString address = text.trimmed();
    if (address.isEmpty())
        return true;
    const QStringList parts = address.split(u'@');
    if (parts.size() != 2 || parts[0].isEmpty())
        return false;
    if (std::any_of(address.cbegin(), address.cend(), [](QChar c) { return c.isSpace(); }))
        return false;
    const QStringList domain = parts[1].split(u'.');
    return domain.size() >= 2 && !domain.contains(QString());
}

QJsonObject FeedbackForm::requestBody(FeedbackCategory category, const QString& message, const QString& email)
{
    const QString name = rawValue(category);
    QJsonObject body{
        {QStringLiteral("category"), name},
        {QStringLiteral("message"), message.trimmed()},
        {QStringLiteral("app"), QStringLiteral("Marquetto")},
        {QStringLiteral("_subject"), QStringLiteral("Marquetto \u2014 ") + name},
    };
    if (const QString address = email.trimmed(); !address.isEmpty())
        body.insert(QStringLiteral("email"), address);
    return body;
}
