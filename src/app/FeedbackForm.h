#pragma once

#include "app/FeedbackCategory.h"
#include "band/SingleFetch.h"

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <chrono>
#include <optional>

class DeckSettings;

// The feedback form without its widgets: what the user wrote, and the one POST that sends it as JSON to the
// service at the `feedbackURL` preference (https only, or http to this machine). Nothing is stored.
//
// Main thread only. `changed` fires whenever any of the form's state changes, the sending state and the
// outcome included.
class FeedbackForm final : public QObject {
    Q_OBJECT
public:
    enum class Outcome { sent, failed };

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

    void setCategory(FeedbackCategory category);
    void setMessage(const QString& message);
    void setReplyEmail(const QString& replyEmail);

    // The message holds more than white space.
    [[nodiscard]] bool hasMessage() const;
    // Whether "Submit" may be pressed: a message, a usable reply address and no send already out.
    [[nodiscard]] bool canSubmit() const;
    // Posts the form; does nothing unless `canSubmit`. An endpoint that breaks the rule above fails at once.
    void submit();
    // What the deadline of the send that is out does: it then fails.
    void abandonRequest() { m_fetch.abandon(); }

    // An empty address (it is optional) or one shaped like "name@host.domain", without white space.
    [[nodiscard]] static bool isUsableReplyEmail(const QString& text);
    // The JSON object that is posted; "email" only when the trimmed address is not empty.
    [[nodiscard]] static QJsonObject requestBody(FeedbackCategory category, const QString& message,
                                                 const QString& email);

Q_SIGNALS:
    void changed();

private:
    void finish(Outcome outcome);

    const DeckSettings& m_settings;
    SingleFetch m_fetch;
    FeedbackCategory m_category = FeedbackCategory::feedback;
    QString m_message;
    QString m_replyEmail;
    std::optional<Outcome> m_outcome;
};
