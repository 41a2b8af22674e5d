#include "TileStore.h"

#include "model/ArtworkSource.h"
#include "model/Settings.h"
#include "model/StarterHint.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <algorithm>

namespace {

bool isPlayable(const Tile& tile)
{
    return tile.icon.isAuto() && tile.action &&
           (tile.action->as<TileAction::PlayAlbum>() || tile.action->as<TileAction::PlayPlaylist>());
}

} // namespace

TileStore::TileStore(Services services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_file(m_services.paths, m_services.clock)
{
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(saveDelay);
    connect(&m_saveTimer, &QTimer::timeout, this, &TileStore::savePendingChange);
    // A change made just before the program quits is still waiting for the debounce; it must not be lost.
    if (QCoreApplication* application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &TileStore::savePendingChange);
    connect(&m_services.settings, &DeckSettings::gridChanged, this, &TileStore::repadPages);
    load();
}

void TileStore::load()
{
    QDir().mkpath(m_services.paths.iconsDir());

    auto loaded = m_file.read();
    Pages pages;
    bool mustWrite = false;
    if (loaded) {
        m_loadedFromDisk = true;
        pages = std::move(loaded->pages);
        mustWrite = loaded->isOlderFormat;
    } else {
        if (m_services.holdIconCleanup)
            m_services.holdIconCleanup();
        const bool firstLaunch = m_file.isFirstLaunch();
        if (firstLaunch)
            m_services.settings.setDeckUntouched(true);
        if (firstLaunch && m_services.starterDeck) {
            std::vector<Tile> starter = m_services.starterDeck(m_services.settings.tilesPerPage());
            if (!starter.empty()) {
                pages.push_back(std::move(starter));
                m_services.starterHint.show();
                mustWrite = true;
            }
        }
    }

    if (pages.empty())
        pages.emplace_back();
    for (Page& page : pages)
        pad(page);
    m_pages = std::move(pages);
    m_hasPendingSave = mustWrite;
    savePendingChange();
}

void TileStore::pagesDidChange(ChangeOrigin origin)
{
    // Artwork and a new grid dress the deck up; they do not make a first launch's deck anyone's own.
    if (origin != ChangeOrigin::artwork && origin != ChangeOrigin::grid)
        m_services.settings.setDeckUntouched(false);
    m_hasPendingSave = true;
    m_saveTimer.start(saveDelay);
    Q_EMIT pagesChanged(origin);
}

void TileStore::setCurrentPage(int page)
{
    if (page == m_currentPage)
        return;
    const int direction = page > m_currentPage ? 1 : -1;
    m_currentPage = page;
    Q_EMIT currentPageChanged(m_currentPage);
    if (direction != m_pageDirection) {
        m_pageDirection = direction;
        Q_EMIT pageDirectionChanged(m_pageDirection);
    }
}

void TileStore::pad(Page& page) const
{
    const auto count = static_cast<size_t>(m_services.settings.tilesPerPage());
    while (page.size() < count)
        page.emplace_back();
}

bool TileStore::isSlot(int page, int index) const
{
    return page >= 0 && static_cast<size_t>(page) < m_pages.size() && index >= 0 &&
           static_cast<size_t>(index) < m_pages[static_cast<size_t>(page)].size();
}

Tile TileStore::tile(int page, int index) const
{
    if (!isSlot(page, index))
        return Tile{};
    return m_pages[static_cast<size_t>(page)][static_cast<size_t>(index)];
}

void TileStore::set(const Tile& tile, int page, int index)
{
    assign(tile, page, index, ChangeOrigin::user);
}

void TileStore::assign(const Tile& tile, int page, int index, ChangeOrigin origin)
{
    if (!isSlot(page, index))
        return;
    Tile& slot = m_pages[static_cast<size_t>(page)][static_cast<size_t>(index)];
    if (slot == tile)
        return;
    slot = tile;
    pagesDidChange(origin);
}

void TileStore::swapTiles(int fromPage, int fromIndex, int toPage, int toIndex)
{
    if (!isSlot(fromPage, fromIndex) || !isSlot(toPage, toIndex) ||
        (fromPage == toPage && fromIndex == toIndex))
        return;
    std::swap(m_pages[static_cast<size_t>(fromPage)][static_cast<size_t>(fromIndex)],
              m_pages[static_cast<size_t>(toPage)][static_cast<size_t>(toIndex)]);
    pagesDidChange(ChangeOrigin::user);
}

void TileStore::addPage()
{
    pad(m_pages.emplace_back());
    pagesDidChange(ChangeOrigin::user);
    setCurrentPage(static_cast<int>(m_pages.size()) - 1);
}

void TileStore::movePage(int from, int to)
{
    const int count = static_cast<int>(m_pages.size());
    if (from < 0 || from >= count || to < 0 || to >= count || from == to)
        return;
    Page moved = std::move(m_pages[static_cast<size_t>(from)]);
    m_pages.erase(m_pages.begin() + from);
    m_pages.insert(m_pages.begin() + to, std::move(moved));
    pagesDidChange(ChangeOrigin::user);
    setCurrentPage(to);
}

void TileStore::deleteCurrentPage()
{
    if (m_pages.size() < 2)
        return;
    m_pages.erase(m_pages.begin() + m_currentPage);
    pagesDidChange(ChangeOrigin::user);
    setCurrentPage(std::min(m_currentPage, static_cast<int>(m_pages.size()) - 1));
}

void TileStore::goToPage(int page)
{
    setCurrentPage(std::clamp(page, 0, static_cast<int>(m_pages.size()) - 1));
}

void TileStore::repadPages()
{
    for (Page& page : m_pages)
        pad(page);
    // Published even when no page grew: a new grid is a change of the deck, which is saved with it.
    pagesDidChange(ChangeOrigin::grid);
}

void TileStore::replace(Pages pages, ChangeOrigin origin)
{
    if (pages.empty())
        return;
    for (Page& page : pages)
        pad(page);
    m_pages = std::move(pages);
    pagesDidChange(origin);
    setCurrentPage(0);
}

bool TileStore::restore(const QString& path)
{
    auto pages = LayoutFile::readPages(path);
    if (!pages)
        return false;
    for (Page& page : *pages)
        pad(page);
    m_file.backups().saveBackup(m_pages);
    m_pages = std::move(*pages);
    pagesDidChange(ChangeOrigin::restore);
    setCurrentPage(std::min(m_currentPage, static_cast<int>(m_pages.size()) - 1));
    return true;
}

void TileStore::bumpIconRefreshTick()
{
    ++m_iconRefreshTick;
    Q_EMIT iconRefreshTickChanged(m_iconRefreshTick);
}

void TileStore::fetchArtworkIfNeeded(int page, int index)
{
    if (isPlayable(tile(page, index)))
        requestArtwork(page, index);
}

void TileStore::fetchAllMissingPlaylistArtwork()
{
    if (!m_services.artwork.canFetchWithoutStartingPlayer())
        return;
    for (size_t page = 0; page < m_pages.size(); ++page) {
        for (size_t index = 0; index < m_pages[page].size(); ++index) {
            if (isPlayable(m_pages[page][index]))
                requestArtwork(static_cast<int>(page), static_cast<int>(index));
        }
    }
}

void TileStore::requestArtwork(int page, int index)
{
    const TileAction requested = *tile(page, index).action;
    auto apply = [self = QPointer<TileStore>(this), requested, page, index](std::optional<QString> fileName) {
        if (!self || !fileName)
            return;
        Tile current = self->tile(page, index);
        // The user may have changed the tile while the artwork was on its way; their choice wins.
        if (!current.icon.isAuto() || current.action != requested)
            return;
        current.icon = TileIcon{TileIcon::Custom{*fileName}};
        self->assign(current, page, index, ChangeOrigin::artwork);
    };
    if (const auto* album = requested.as<TileAction::PlayAlbum>())
        m_services.artwork.fetchArtwork(album->name, album->artist, std::move(apply));
    else if (const auto* playlist = requested.as<TileAction::PlayPlaylist>())
        m_services.artwork.fetchArtwork(playlist->name, std::move(apply));
}

bool TileStore::savePendingChange()
{
    m_saveTimer.stop();
    if (!m_hasPendingSave)
        return true;
    const std::optional<QString> failure = m_file.write(m_pages);
    m_hasPendingSave = failure.has_value();
    if (m_hasPendingSave)
        m_saveTimer.start(saveRetryDelay);
    const QString problem = failure.value_or(QString());
    if (problem != m_saveProblem) {
        m_saveProblem = problem;
        Q_EMIT saveProblemChanged(m_saveProblem);
    }
    return !m_hasPendingSave;
}
