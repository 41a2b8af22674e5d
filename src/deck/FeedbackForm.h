#pragma once

#include "core/net/SingleFetch.h"
#include "deck/FeedbackCategory.h"

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QUrl>
#include <chrono>
#include <optional>

class DeckSettings;
class Workspace;

// The feedback form without its widgets: what the user wrote, and how it leaves. With a form service at the
// `feedbackURL` preference (https only, or http to this machine) it is posted there as JSON; without one it
// goes to the user's email application, addressed to the recipient when one is set, or into a text file that
// the user sends. Nothing is stored otherwise.
//
// Main thread only. `changed` fires whenever any of the form's state changes, the sending state and the
// outcome included.
class FeedbackForm final : public QObject {
    Q_OBJECT
public:
    enum class Outcome { sent, failed, handedToMail, saved, saveFailed };

    static constexpr std::chrono::seconds defaultTimeout{60};
    // The answer's body is not used, nor held: an answer longer than this is cut off and counts as failed.
    static constexpr qint64 maxAnswerBytes = 256 * 1024;

    explicit FeedbackForm(const DeckSettings& settings, std::chrono::milliseconds timeout = defaultTimeout,
                          QObject* parent = nullptr);

    [[nodiscard]] FeedbackCategory category() const { return m_category; }
    [[nodiscard]] const QString& message() const { return m_message; }
    [[nodiscard]] const QString& replyEmail() const { return m_replyEmail; }
    [[nodiscard]] bool isSending() const { return m_fetch.isBusy(); }
    // Nothing until the first send is over, and again while the next one is out.
    [[nodiscard]] const std::optional<Outcome>& outcome() const { return m_outcome; }
    // The file written for `saved`, or why it could not be for `saveFailed`.
    [[nodiscard]] const QString& outcomeDetail() const { return m_outcomeDetail; }

    // A change to the form after it was sent makes it ready to send again.
    void setCategory(FeedbackCategory category);
    void setMessage(const QString& message);
    void setReplyEmail(const QString& replyEmail);
    // Where the email goes when no service is set up; an empty or unusable address leaves it to the user.
    void setRecipient(const QString& address);

    // The message holds more than white space.
    [[nodiscard]] bool hasMessage() const;
    // Whether a form service is set up; without one the message leaves by `openInMail` or `saveAsFile`.
    [[nodiscard]] bool hasService() const;
    // Whether "Submit" may be pressed: a service, a message, a usable reply address, no send already out, and
    // not this very form already sent.
    [[nodiscard]] bool canSubmit() const;
    // Whether the message may be handed to the email application or written to a file.
    [[nodiscard]] bool canHandOver() const;
    // Posts the form; does nothing unless `canSubmit`. An endpoint that breaks the rule above fails at once.
    void submit();
    // What the deadline of the send that is out does: it then fails.
    void abandonRequest() { m_fetch.abandon(); }
    // Opens a new email holding the message (`mailURL`); does nothing unless `canHandOver`.
    void openInMail(Workspace& workspace);
    // Writes `draftText` to the file at `path`, atomically; does nothing unless `canHandOver`.
    void saveAsFile(const QString& path);

    // The email of the message: to the recipient, else to nobody yet (the email application asks), with the
    // subject that is posted and the message as its body.
    [[nodiscard]] QUrl mailURL() const;
    // The message as a text to send by hand: the address, the subject and the reply address, a blank line and
    // the message.
    [[nodiscard]] QString draftText() const;

    // An empty address (it is optional) or one shaped like "name@host.domain", without white space.
    [[nodiscard]] static bool isUsableReplyEmail(const QString& text);
    // The JSON object that is posted; "email" only when the trimmed address is not empty.
    [[nodiscard]] static QJsonObject requestBody(FeedbackCategory category, const QString& message,
                                                 const QString& email);

Q_SIGNALS:
    void changed();

private:
    void edited();
    void finish(Outcome outcome, const QString& detail = {});

    const DeckSettings& m_settings;
    SingleFetch m_fetch;
    FeedbackCategory m_category = FeedbackCategory::feedback;
    QString m_message;
    QString m_replyEmail;
    QString m_recipient;
    std::optional<Outcome> m_outcome;
    QString m_outcomeDetail;
};
