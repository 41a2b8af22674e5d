#include "commands/DeckLevelCommands.h"

#include "core/BackgroundQueue.h"
#include "core/Clock.h"
#include "core/Logging.h"
#include "model/Settings.h"
#include "model/StarterHint.h"
#include "model/TileStore.h"
#include "platform/AlertPresenter.h"
#include "platform/DeckFilePanels.h"
#include "platform/PlatformWordings.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTimer>

namespace DeckCommands {

namespace {

void reloadBackupsSoon(const DeckParts& deck)
{
    if (deck.reloadBackups)
        QTimer::singleShot(backupsReloadDelay, deck.reloadBackups);
}

DeckTransfer::LocalDeck localDeck(const DeckParts& deck)
{
    return {deck.store, deck.settings, deck.iconsDir, deck.clock};
}

void showFailure(const DeckParts& deck, const QString& message, const QString& reason)
{
    (void)deck.alerts.present({message, reason, {QStringLiteral("OK")}});
}

// Asks before the deck file read becomes the deck, then stores its icons off the main thread and replaces the
// deck on it.
void confirmImport(const DeckParts& deck,
                   const Expected<DeckTransfer::Prepared, DeckTransfer::TransferError>& prepared)
{
    if (!prepared) {
        showFailure(deck, QStringLiteral("Couldn't import that deck."),
                    DeckTransfer::description(prepared.error()));
        return;
    }
    DeckTransfer::Confirmation confirmation = DeckTransfer::importConfirmation(*prepared, deck.wordings);
    confirmation.alert.isWarning = confirmation.isWarning;
    if (deck.alerts.present(confirmation.alert) != 0)
        return;
    const DeckTransfer::DeckFile& file = prepared->deck;
    deck.fileWork(BackgroundQueue::reporting<Pages>(
        QCoreApplication::instance(),
        [file, iconsDir = deck.iconsDir, now = deck.clock.now(), vet = deck.vet] {
            return DeckTransfer::storeIcons(file, iconsDir, now, vet);
        },
        [deck, grid = file.grid()](Pages pages) {
            const bool gridChanged =
                DeckTransfer::replaceDeck(std::move(pages), grid, deck.store, deck.settings);
            deck.starterHint.dismiss();
            if (gridChanged)
                deck.rebuildPanel();
            reloadBackupsSoon(deck);
        }));
}

} // namespace

// Qt knows the locale's long and short forms only; the long ones without the weekday, the time zone and the
// month's full name are its middle form ("Mar 5, 2026, 2:07:09 PM", "5 Mar 2026, 14:07:09").
QString mediumDateTime(const QDateTime& moment, const QLocale& locale)
{
    QString datePattern = locale.dateFormat(QLocale::LongFormat);
    datePattern.remove(QRegularExpression(QStringLiteral("dddd[,.]?\\s*")));
    datePattern.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
    QString timePattern = locale.timeFormat(QLocale::LongFormat);
    timePattern.remove(QRegularExpression(QStringLiteral("\\s*\\(?t+\\)?")));
    return locale.toString(moment.date(), datePattern.trimmed()) + QStringLiteral(", ") +
           locale.toString(moment.time(), timePattern.trimmed());
}

void setGrid(DeckParts& deck, int columns, int rows)
{
    if (columns == deck.settings.gridColumns() && rows == deck.settings.gridRows())
        return;
    // The store pads every page to the new grid as soon as both sides are set.
    deck.settings.setGrid(columns, rows);
    deck.rebuildPanel();
}

void setTileSize(DeckParts& deck, TileSizeOption size)
{
    if (size == deck.settings.tileSize())
        return;
    deck.settings.setTileSize(size);
    deck.rebuildPanel();
}

void setShowBand(DeckParts& deck, bool show)
{
    if (show == deck.settings.showBand())
        return;
    deck.settings.setShowBand(show);
    deck.rebuildPanel();
}

void setLaunchAtLogin(DeckParts& deck, bool on)
{
    if (const auto failure = deck.setLoginItem(on))
        qCWarning(lcSettings).noquote()
            << QStringLiteral("Marquetto: launch-at-login toggle failed: ") + *failure;
}

void enableWindowRestore(DeckParts& deck)
{
    (void)deck.alerts.present(deck.canRestoreWindows() ? deck.wordings.windowRestoreReady
                                                       : deck.wordings.windowAccess);
}

void restoreBackup(DeckParts& deck, const LayoutBackups::BackupEntry& entry)
{
    const Alert confirmation{
        QStringLiteral("Restore this backup?"),
        QStringLiteral(
            "Your layout will be replaced with the backup from %1. The current layout is backed up "
            "first, so you can undo this the same way.")
            .arg(mediumDateTime(entry.date, QLocale())),
        {QStringLiteral("Restore"), QStringLiteral("Cancel")},
    };
    if (deck.alerts.present(confirmation) != 0)
        return;
    if (!deck.store.restore(entry.path))
        showFailure(deck, QStringLiteral("Couldn't read that backup."), {});
    reloadBackupsSoon(deck);
}

void exportDeck(DeckParts& deck)
{
    const auto path =
        deck.panels.chooseSaveFile(DeckTransfer::suggestedFileName.toString(),
                                   QStringLiteral("Your tiles, pages and custom icons, saved as one file."));
    if (!path || path->isEmpty())
        return;
    if (const auto failure = DeckTransfer::exportTo(*path, localDeck(deck)))
        showFailure(deck, QStringLiteral("Couldn't export your deck."), *failure);
}

void importDeck(DeckParts& deck)
{
    const auto path = deck.panels.chooseOpenFile();
    if (!path || path->isEmpty())
        return;
    importDeckFile(deck, *path);
}

void importDeckFile(DeckParts& deck, const QString& path)
{
    using Read = Expected<DeckTransfer::Prepared, DeckTransfer::TransferError>;
    deck.fileWork(BackgroundQueue::reporting<Read>(
        QCoreApplication::instance(), [path] { return DeckTransfer::read(path); },
        [deck](const Read& prepared) { confirmImport(deck, prepared); }));
}

} // namespace DeckCommands
