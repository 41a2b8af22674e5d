#include "sync/CloudTexts.h"

#include "platform/PlatformWordings.h"

#include <QLocale>

namespace {

QString shortTime(const QDateTime& at)
{
    return QLocale().toString(at.toLocalTime().time(), QLocale::ShortFormat);
}

} // namespace

CloudTexts::CloudTexts(const PlatformWordings& wordings, QString folderName)
    : m_wordings(wordings)
    , m_folderName(std::move(folderName))
    , m_drive(named(wordings.cloudDrive))
{
}

QString CloudTexts::named(const QString& text) const
{
    // Not `arg`: the Mac's texts hold no placeholder, and a folder name may itself contain "%1".
    return QString(text).replace(QStringLiteral("%1"), m_folderName);
}

QString CloudTexts::checking() const
{
    return QStringLiteral("Checking %1…").arg(m_drive);
}

QString CloudTexts::upToDate()
{
    return QStringLiteral("Up to date");
}

QString CloudTexts::editWaiting()
{
    return QStringLiteral("Update waiting until you finish editing…");
}

QString CloudTexts::lastSynced(const QDateTime& at)
{
    return QStringLiteral("Last synced at ") + shortTime(at);
}

QString CloudTexts::updatedFrom(const QString& sourceName, const QDateTime& at) const
{
    const QString source =
        sourceName.isEmpty() ? QStringLiteral("your other ") + m_wordings.computer : sourceName;
    return QStringLiteral("Updated from ") + source + QStringLiteral(" at ") + shortTime(at);
}

QString CloudTexts::saveFailed() const
{
    return QStringLiteral("Couldn't save to ") + m_drive + QStringLiteral(". Trying again shortly.");
}

QString CloudTexts::tooLarge()
{
    return QStringLiteral("Your deck is too large to sync. Use fewer or smaller custom icons.");
}

QString CloudTexts::layoutNotSaved() const
{
    return QStringLiteral("Couldn't save the deck on this ") + m_wordings.computer +
           QStringLiteral(". Trying again shortly.");
}

QString CloudTexts::status(CloudRule::Reading reading) const
{
    using CloudRule::Reading;
    switch (reading) {
    case Reading::damaged:
        return QStringLiteral("The deck in ") + m_drive +
               QStringLiteral(" can't be read. Edit your deck to replace it.");
    case Reading::unavailable:
        return named(m_wordings.cloudDriveOffStatus);
    case Reading::pending:
        return QStringLiteral("Waiting for ") + m_drive + QStringLiteral("…");
    case Reading::failed:
        return QStringLiteral("Couldn't reach ") + m_drive + QStringLiteral(". Trying again shortly.");
    case Reading::newer:
        return QStringLiteral("Your other ") + m_wordings.computer +
               QStringLiteral(" has a newer Marquetto. Update this one to keep syncing.");
    case Reading::missing:
        return QStringLiteral("Waiting for your first edit before sharing this deck.");
    case Reading::deck:
        break;
    }
    return {};
}

Alert CloudTexts::question(const QString& sourceName, int tileCount, const QDateTime& exportedAt) const
{
    const QString source =
        sourceName.isEmpty() ? QStringLiteral("another ") + m_wordings.computer : sourceName;
    const QString tiles =
        tileCount == 1 ? QStringLiteral("1 tile") : QString::number(tileCount) + QStringLiteral(" tiles");
    const QLocale locale;
    const QDateTime local = exportedAt.toLocalTime();
    const QString saved = locale.toString(local.date(), QLocale::ShortFormat) + u' ' +
                          locale.toString(local.time(), QLocale::ShortFormat);
    return {
        QStringLiteral("Which deck should your ") + m_wordings.computer + QStringLiteral("s use?"),
        m_drive + QStringLiteral(" already has a deck from ") + source + QStringLiteral(", with ") + tiles +
            QStringLiteral(", saved ") + saved +
            QStringLiteral(
                ". The deck you don't keep is backed up first, so you can get it back from Backups."),
        {m_wordings.useCloudDeck, m_wordings.keepLocalDeck, QStringLiteral("Cancel")},
    };
}

Alert CloudTexts::scriptsHeld(const QString& sourceName, int tileCount) const
{
    const QString tiles = tileCount == 1
                              ? QStringLiteral("1 tile that runs a script")
                              : QString::number(tileCount) + QStringLiteral(" tiles that run scripts");
    const QString source = sourceName.isEmpty() ? QString() : QStringLiteral(" from ") + sourceName;
    return {
        QStringLiteral("The synced deck") + source + QStringLiteral(" has ") + tiles + u'.',
        QStringLiteral("They stay off until you allow them. Scripts run ") + m_wordings.scriptsRunWhere +
            QStringLiteral(", and anyone who can change ") + m_drive +
            QStringLiteral(" can change them: only allow them if you trust everyone who can."),
        {QStringLiteral("Allow Scripts"), QStringLiteral("Keep Them Off")},
    };
}

std::optional<Alert> CloudTexts::refusal(CloudRule::Reading reading) const
{
    using CloudRule::Reading;
    const QString later = QStringLiteral("Try again in a moment.");
    const QStringList ok{QStringLiteral("OK")};
    switch (reading) {
    case Reading::unavailable:
        return Alert{named(m_wordings.cloudDriveOff.message), named(m_wordings.cloudDriveOff.informativeText),
                     m_wordings.cloudDriveOff.buttons};
    case Reading::pending:
        return Alert{QStringLiteral("Your deck in ") + m_drive + QStringLiteral(" is still downloading."),
                     later, ok};
    case Reading::failed:
        return Alert{QStringLiteral("Couldn't reach ") + m_drive + u'.', later, ok};
    case Reading::newer:
        return Alert{QStringLiteral("The deck in ") + m_drive +
                         QStringLiteral(" was saved by a newer version of Marquetto."),
                     QStringLiteral("Update Marquetto on this ") + m_wordings.computer +
                         QStringLiteral(", then turn this on again."),
                     ok};
    case Reading::deck:
    case Reading::missing:
    case Reading::damaged:
        break;
    }
    return std::nullopt;
}
