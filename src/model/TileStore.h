#pragma once

#include "core/AppPaths.h"
#include "model/LayoutFile.h"
#include "model/Models.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

class ArtworkSource;
class Clock;
class DeckSettings;
class StarterHint;

// The owner of the deck: the pages of tiles and the page on screen. It loads the layout file at construction
// (or installs the starter deck on a first launch), keeps every page padded to the grid and writes the layout
// back 400 ms after the last change, backing up the file it replaces first. When the grid changes it pads
// every page to the new grid; padding never removes a tile.
//
// Indexes are 0-based; operations given an index out of range do nothing, and reads answer a fresh empty
// tile. Main thread only. `pagesChanged` fires after every change of the pages with where the change came
// from, `currentPageChanged`, `pageDirectionChanged` and `saveProblemChanged` when those values change.
class TileStore final : public QObject {
    Q_OBJECT

public:
    using BackupEntry = LayoutBackups::BackupEntry;
    // Where a change of the pages came from. Only `artwork` is made by the deck on its own; the others follow
    // something the user did, here or on another machine.
    enum class ChangeOrigin {
        user,    // a tile set, swapped or moved; a page added, moved or deleted
        artwork, // fetched artwork given to a tile whose icon is automatic
        grid,    // the pages padded to a grid that changed
        restore, // a backup brought back
        import,  // a deck file put in place of the deck
        cloud,   // the deck of another machine, from the shared folder
    };
    Q_ENUM(ChangeOrigin)

    // The tiles of a first launch, at most `limit` of them.
    using StarterDeckSource = std::function<std::vector<Tile>(int limit)>;

    static constexpr std::chrono::milliseconds saveDelay{400};
    // While the layout cannot be written, the write is tried again this often, so that the deck on screen
    // reaches the disk once it takes writes again, even when nothing changes meanwhile.
    static constexpr std::chrono::seconds saveRetryDelay{30};
    // The largest layout file read; a larger one counts as unreadable.
    static constexpr qint64 maxLayoutBytes = LayoutFile::maxBytes;

    struct Services {
        AppPaths paths;
        DeckSettings& settings;
        StarterHint& starterHint;
        const Clock& clock;
        ArtworkSource& artwork;
        StarterDeckSource starterDeck;
        // Called at start-up when no usable layout could be loaded: the icon files on disk may belong to the
        // layout that failed, so their clean-up must hold off.
        std::function<void()> holdIconCleanup = {};
    };

    explicit TileStore(Services services, QObject* parent = nullptr);

    [[nodiscard]] const Pages& pages() const { return m_pages; }
    [[nodiscard]] int currentPage() const { return m_currentPage; }
    [[nodiscard]] int pageDirection() const { return m_pageDirection; }
    [[nodiscard]] int iconRefreshTick() const { return m_iconRefreshTick; }
    [[nodiscard]] bool loadedFromDisk() const { return m_loadedFromDisk; }
    [[nodiscard]] const LayoutBackups& backups() const { return m_file.backups(); }

    [[nodiscard]] Tile tile(int page, int index) const;
    void set(const Tile& tile, int page, int index);
    void swapTiles(int fromPage, int fromIndex, int toPage, int toIndex);
    void addPage();
    void movePage(int from, int to);
    void deleteCurrentPage();
    void goToPage(int page);
    // Whole-deck replacement: ignored when `pages` is empty; otherwise every page is padded and the first
    // becomes current.
    void replace(Pages pages, ChangeOrigin origin);
    // Makes the layout file at `path` (a backup) the deck; false, with the deck untouched, when it cannot be
    // read.
    bool restore(const QString& path);
    void bumpIconRefreshTick();

    void fetchArtworkIfNeeded(int page, int index);
    void fetchAllMissingPlaylistArtwork();

    [[nodiscard]] bool isSavePending() const { return m_hasPendingSave; }
    // The debounce timer's handler: writes the pending change at once, backing up the layout file it
    // replaces. True when it was written or nothing was pending; false when it could not be written: the deck
    // in memory is kept, and the write is tried again after `saveRetryDelay` or at the next change.
    bool savePendingChange();
    // Why the layout file could not be written the last time it was tried; empty once a write succeeds.
    [[nodiscard]] const QString& saveProblem() const { return m_saveProblem; }

Q_SIGNALS:
    void pagesChanged(TileStore::ChangeOrigin origin);
    void currentPageChanged(int page);
    void pageDirectionChanged(int direction);
    void iconRefreshTickChanged(int tick);
    void saveProblemChanged(const QString& problem);

private:
    void load();
    void assign(const Tile& tile, int page, int index, ChangeOrigin origin);
    void repadPages();
    void pagesDidChange(ChangeOrigin origin);
    void setCurrentPage(int page);
    void pad(Page& page) const;
    [[nodiscard]] bool isSlot(int page, int index) const;
    void requestArtwork(int page, int index);

    Services m_services;
    LayoutFile m_file;
    Pages m_pages;
    int m_currentPage = 0;
    int m_pageDirection = 1;
    int m_iconRefreshTick = 0;
    bool m_loadedFromDisk = false;
    bool m_hasPendingSave = false;
    QString m_saveProblem;
    QTimer m_saveTimer;
};
