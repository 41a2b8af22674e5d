#include "deck/FeedbackForm.h"

#include "core/AtomicFile.h"
#include "core/CanonicalJson.h"
#include "core/net/Endpoint.h"
#include "model/Settings.h"
#include "platform/Workspace.h"

#include <algorithm>

namespace {

QString subjectFor(FeedbackCategory category)
{
    return QStringLiteral("Marquetto \u2014 ") + rawValue(category);
}

QString percentEncoded(const QString& text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

} // namespace

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
    edited();
}

void FeedbackForm::setMessage(const QString& message)
{
    if (message == m_message)
        return;
    m_message = message;
    edited();
}

void FeedbackForm::setReplyEmail(const QString& replyEmail)
{
    if (replyEmail == m_replyEmail)
        return;
    m_replyEmail = replyEmail;
    edited();
}

void FeedbackForm::setRecipient(const QString& address)
{
    const QString trimmed = address.trimmed();
    m_recipient = isUsableReplyEmail(trimmed) ? trimmed : QString();
}

void FeedbackForm::edited()
{
    // "Sent" stands for what was sent; once the form says something else, it may go again.
    if (m_outcome == Outcome::sent)
        m_outcome.reset();
    Q_EMIT changed();
}

bool FeedbackForm::hasMessage() const
{
    return !m_message.trimmed().isEmpty();
}

bool FeedbackForm::hasService() const
{
    return !m_settings.feedbackURL().trimmed().isEmpty();
}

bool FeedbackForm::canSubmit() const
{
    return hasService() && canHandOver() && !isSending() && m_outcome != Outcome::sent;
}

bool FeedbackForm::canHandOver() const
{
    return hasMessage() && isUsableReplyEmail(m_replyEmail);
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

void FeedbackForm::openInMail(Workspace& workspace)
{
    if (!canHandOver())
        return;
    workspace.open(mailURL());
    finish(Outcome::handedToMail);
}

void FeedbackForm::saveAsFile(const QString& path)
{
    if (!canHandOver())
        return;
    if (const std::optional<QString> error = AtomicFile::write(path, draftText().toUtf8()))
        finish(Outcome::saveFailed, *error);
    else
        finish(Outcome::saved, path);
}

QUrl FeedbackForm::mailURL() const
{
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(m_recipient);
    url.setQuery(QStringLiteral("subject=") + percentEncoded(subjectFor(m_category)) +
                     QStringLiteral("&body=") + percentEncoded(m_message.trimmed()),
                 QUrl::StrictMode);
    return url;
}

QString FeedbackForm::draftText() const
{
    QString text;
    if (!m_recipient.isEmpty())
        text += QStringLiteral("To: ") + m_recipient + u'\n';
    text += QStringLiteral("Subject: ") + subjectFor(m_category) + u'\n';
    if (const QString reply = m_replyEmail.trimmed(); !reply.isEmpty())
        text += QStringLiteral("Reply-To: ") + reply + u'\n';
    return text + u'\n' + m_message.trimmed() + u'\n';
}

void FeedbackForm::finish(Outcome outcome, const QString& detail)
{
    m_outcome = outcome;
    m_outcomeDetail = detail;
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
    QJsonObject body{
        {QStringLiteral("category"), rawValue(category)},
        {QStringLiteral("message"), message.trimmed()},
        {QStringLiteral("app"), QStringLiteral("Marquetto")},
        {QStringLiteral("_subject"), subjectFor(category)},
    };
    if (const QString address = email.trimmed(); !address.isEmpty())
        body.insert(QStringLiteral("email"), address);
    return body;
}
