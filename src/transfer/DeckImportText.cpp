#include "platform/PlatformWordings.h"
#include "transfer/DeckTransfer.h"

namespace DeckTransfer {

namespace {

QString counted(int count, const QString& one, const QString& many)
{
    return count == 1 ? QStringLiteral("1 ") + one : QString::number(count) + u' ' + many;
}

} // namespace

QString description(TransferError error)
{
    switch (error) {
    case TransferError::unreadable:
        break;
    case TransferError::newerFormat:
        return QStringLiteral(
            "That deck was made by a newer version of Marquetto. Update Marquetto, then import it again.");
    case TransferError::empty:
        return QStringLiteral("That deck doesn't have any tiles in it.");
    }
    return QStringLiteral("That file isn't a Marquetto deck, or it's damaged.");
}

Confirmation importConfirmation(const Prepared& prepared, const PlatformWordings& wordings)
{
    Confirmation confirmation;
    confirmation.alert.message = QStringLiteral("Replace your layout with this deck?");
    QString text = QStringLiteral("It has %1 on %2. Your current layout is backed up first, so you can undo "
                                  "this from your backups in Settings.")
                       .arg(counted(prepared.tileCount, QStringLiteral("tile"), QStringLiteral("tiles")),
                            counted(prepared.pageCount, QStringLiteral("page"), QStringLiteral("pages")));
    if (prepared.scriptTileCount >= 1) {
        const QString scripts = prepared.scriptTileCount == 1
                                    ? QStringLiteral("1 of them runs a script")
                                    : QStringLiteral("%1 of them run scripts").arg(prepared.scriptTileCount);
        text += QStringLiteral("\n\n%1 %2. Only import a deck from someone you trust.")
                    .arg(scripts, wordings.scriptsRunWhere);
        confirmation.isWarning = true;
    }
    confirmation.alert.informativeText = text;
    confirmation.alert.buttons = {QStringLiteral("Replace"), QStringLiteral("Cancel")};
    return confirmation;
}

} // namespace DeckTransfer
