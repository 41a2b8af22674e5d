#pragma once

#include "model/DeckOptions.h"
#include "model/LayoutBackups.h"
#include "transfer/DeckTransfer.h"

#include <QLocale>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>

class AlertPresenter;
class Clock;
class DeckFilePanels;
class DeckSettings;
class StarterHint;
class TileStore;
struct PlatformWordings;

// The deck-level commands behind the settings whose effect reaches beyond a stored value: the grid, tile
// size and band (which need the deck's window made anew), launch at login, window restoring, restoring a
// backup, and exporting and importing the deck file. Each is a main-thread operation, the modal dialogs it
// shows part of it; an import reads the file and stores its icons off the main thread, and its end comes
// back to the main thread.
namespace DeckCommands {

// After a restore or an import, the backups list is read again this long later, so the backup the restore
// made shows.
inline constexpr std::chrono::milliseconds backupsReloadDelay{800};

// What the deck-level commands work with.
struct DeckParts {
    TileStore& store;
    DeckSettings& settings;
    StarterHint& starterHint;
    const Clock& clock;
    AlertPresenter& alerts;
    DeckFilePanels& panels;
    const PlatformWordings& wordings;
    QString iconsDir;
    // Decides which images of an imported deck may become icon files.
    DeckTransfer::Vet vet;
    // Runs a job off the main thread, after the icons folder's other work: reading a deck file and storing
    // its icons take longer than a frame.
    std::function<void(std::function<void()>)> fileWork;
    // Closes the deck's window and shows a new one at the current grid, tile size and band.
    std::function<void()> rebuildPanel;
    // Makes the session start the deck at login (true) or no longer (false); answers the reason it could
    // not, or nothing.
    std::function<std::optional<QString>(bool on)> setLoginItem;
    // Whether app tiles can bring minimized windows forward here.
    std::function<bool()> canRestoreWindows;
    // Reads the list of backups again; empty while nothing shows that list.
    std::function<void()> reloadBackups = {};
};

// A moment in the middle-length date and time of `locale`, as a backup's date is shown.
[[nodiscard]] QString mediumDateTime(const QDateTime& moment, const QLocale& locale);

// Sets the grid, pads every page to it and rebuilds the deck's window; nothing when it is the current one.
void setGrid(DeckParts& deck, int columns, int rows);
// Sets the tile size and rebuilds the deck's window; nothing when it is the current one.
void setTileSize(DeckParts& deck, TileSizeOption size);
// Shows or hides the band and rebuilds the deck's window; nothing when that is already so.
void setShowBand(DeckParts& deck, bool show);
// Starts the deck at login, or no longer; a failure is logged, never shown.
void setLaunchAtLogin(DeckParts& deck, bool on);
// Tells the user that app tiles restore minimized windows, or why they cannot here.
void enableWindowRestore(DeckParts& deck);
// Makes the backup the deck once the user confirms; the deck as it was is backed up first.
void restoreBackup(DeckParts& deck, const LayoutBackups::BackupEntry& entry);
// Saves the deck as a deck file where the user chooses.
void exportDeck(DeckParts& deck);
// Makes the deck file the user chooses the deck, once it was read and checked in full and the user confirmed;
// until then nothing is written. The deck as it was is backed up first. Returns before the file is read.
void importDeck(DeckParts& deck);
// The same for a deck file the user opened with the deck, from a file manager.
void importDeckFile(DeckParts& deck, const QString& path);

} // namespace DeckCommands
