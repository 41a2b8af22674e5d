#pragma once

#include "model/LayoutBackups.h"
#include "model/Models.h"
#include "platform/AppPaths.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

class Clock;
class DeckSettings;
class MusicBridge;
class Preferences;

// The owner of the deck: the pages of tiles and the page on screen. It loads the layout file at construction
// (or installs the starter deck on a first launch), keeps every page padded to the grid and writes the layout
// back 400 ms after the last change, backing up the file it replaces first.
//
// Indexes are 0-based; operations given an index out of range do nothing, and reads answer a fresh empty
// tile. Main thread only. `pagesChanged` fires after every change of the pages, `currentPageChanged` and
// `pageDirectionChanged` when those values change.
class TileStore final : public QObject {
    Q_OBJECT

public:
    using BackupEntry = LayoutBackups::BackupEntry;
    // The tiles of a first launch, at most `limit` of them.
    using StarterDeckSource = std::function<std::vector<Tile>(int limit)>;

    static constexpr std::chrono::milliseconds saveDelay{400};
    // Far above any real deck; a larger layout file is treated as unreadable instead of filling the memory.
    static constexpr qint64 maxLayoutBytes = 64 * 1024 * 1024;

    struct Services {
        AppPaths paths;
        DeckSettings& settings;
        Preferences& preferences;
        const Clock& clock;
        MusicBridge& music;
        StarterDeckSource starterDeck;
    };

    explicit TileStore(Services services, QObject* parent = nullptr);

    [[nodiscard]] const Pages& pages() const { return m_pages; }
    [[nodiscard]] int currentPage() const { return m_currentPage; }
    [[nodiscard]] int pageDirection() const { return m_pageDirection; }
    [[nodiscard]] int iconRefreshTick() const { return m_iconRefreshTick; }
    [[nodiscard]] bool loadedFromDisk() const { return m_loadedFromDisk; }
    [[nodiscard]] bool changeIsAutomatic() const { return m_changeIsAutomatic; }
    [[nodiscard]] const LayoutBackups& backups() const { return m_backups; }

    [[nodiscard]] Tile tile(int page, int index) const;
    void set(const Tile& tile, int page, int index);
    void swapTiles(int fromPage, int fromIndex, int toPage, int toIndex);
    void addPage();
    void movePage(int from, int to);
    void deleteCurrentPage();
    void goToPage(int page);
    void repadPages();
    void replace(Pages pages);
    // Makes the layout file at `path` (a backup) the deck; false, with the deck untouched, when it cannot be
    // read.
    bool restore(const QString& path);
    void bumpIconRefreshTick();

    void fetchArtworkIfNeeded(int page, int index);
    void fetchAllMissingPlaylistArtwork();

    // Writes the layout file now, backing up the one it replaces. False when it could not be written; the
    // deck in memory is kept and the next change tries again.
    bool save(const Pages& pages) const;
    [[nodiscard]] bool isSavePending() const { return m_hasPendingSave; }
    // The debounce timer's handler: writes the pending change at once. True when nothing was pending.
    bool savePendingChange();

Q_SIGNALS:
    void pagesChanged();
    void currentPageChanged(int page);
    void pageDirectionChanged(int direction);
    void iconRefreshTickChanged(int tick);

private:
    void load();
    void pagesDidChange();
    void setCurrentPage(int page);
    void pad(Page& page) const;
    [[nodiscard]] bool isSlot(int page, int index) const;
    void requestArtwork(int page, int index);

    Services m_services;
    LayoutBackups m_backups;
    Pages m_pages;
    int m_currentPage = 0;
    int m_pageDirection = 1;
    int m_iconRefreshTick = 0;
    bool m_loadedFromDisk = false;
    bool m_changeIsAutomatic = false;
    bool m_hasPendingSave = false;
    QTimer m_saveTimer;
};
