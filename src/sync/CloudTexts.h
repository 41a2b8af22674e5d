#pragma once

#include "platform/AlertPresenter.h"
#include "sync/CloudRule.h"

#include <QDateTime>
#include <QString>
#include <optional>

struct PlatformWordings;

// What cloud sync tells the user: its status lines and the alerts of switching on, in the platform's words
// for the synced folder (`folderName` stands in where the platform names it by the folder) and for a machine.
class CloudTexts final {
public:
    CloudTexts(const PlatformWordings& wordings, QString folderName);

    [[nodiscard]] QString checking() const;
    [[nodiscard]] static QString upToDate();
    [[nodiscard]] static QString editWaiting();
    [[nodiscard]] static QString lastSynced(const QDateTime& at);
    // `sourceName` empty: the other machine is not named.
    [[nodiscard]] QString updatedFrom(const QString& sourceName, const QDateTime& at) const;
    [[nodiscard]] QString saveFailed() const;
    [[nodiscard]] static QString tooLarge();
    // This machine's layout file could not be written.
    [[nodiscard]] QString layoutNotSaved() const;
    // The line for a reading that leaves both decks alone.
    [[nodiscard]] QString status(CloudRule::Reading reading) const;

    // Which deck to keep, when both sides hold one; buttons: shared deck, this machine's, cancel.
    [[nodiscard]] Alert question(const QString& sourceName, int tileCount, const QDateTime& exportedAt) const;
    // The scripts of `tileCount` synced tiles are off, `sourceName` being the machine they came from (empty:
    // not named); buttons: allow, keep off.
    [[nodiscard]] Alert scriptsHeld(const QString& sourceName, int tileCount) const;
    // Why sync cannot be switched on with this reading; nothing when it can.
    [[nodiscard]] std::optional<Alert> refusal(CloudRule::Reading reading) const;

private:
    [[nodiscard]] QString named(const QString& text) const;

    const PlatformWordings& m_wordings;
    QString m_folderName;
    QString m_drive;
};
