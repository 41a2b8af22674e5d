#include "transfer/DeckTransfer.h"

#include "core/AtomicFile.h"
#include "core/Clock.h"
#include "model/Settings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

namespace DeckTransfer {

namespace {

// A name a tile of this machine's own layout may carry that still means a file directly in the icons
// folder; anything else (a path, "..") would make the export carry a file from elsewhere.
bool isBareFileName(const QString& name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar());
}

} // namespace

const QStringList& imageExtensions()
{
    static const QStringList extensions{
        QStringLiteral("png"),  QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("heic"),
        QStringLiteral("gif"),  QStringLiteral("tif"),  QStringLiteral("tiff"), QStringLiteral("bmp"),
        QStringLiteral("webp"), QStringLiteral("icns"),
    };
    return extensions;
}

QSet<QString> customIconNames(const Pages& pages)
{
    QSet<QString> names;
    for (const Page& page : pages) {
        for (const Tile& tile : page) {
            if (const auto* custom = tile.icon.as<TileIcon::Custom>())
                names.insert(custom->fileName);
        }
    }
    return names;
}

int scriptCount(const TileAction& action)
{
    if (action.as<TileAction::RunScript>())
        return 1;
    const auto* scene = action.as<TileAction::Sequence>();
    if (!scene)
        return 0;
    int count = 0;
    for (const TileAction& step : scene->steps)
        count += scriptCount(step);
    return count;
}

DeckFile snapshot(const Pages& pages, Grid grid, const QString& iconsDir, const QDateTime& now)
{
    DeckFile deck;
    const QString version = QCoreApplication::applicationVersion();
    if (!version.isEmpty())
        deck.appVersion = version;
    deck.exportedAt = now.toUTC();
    deck.gridColumns = grid.columns;
    deck.gridRows = grid.rows;
    deck.pages = pages;
    for (const QString& name : customIconNames(pages)) {
        if (!isBareFileName(name))
            continue;
        // An unreadable icon is left out: the tile keeps its reference and falls back where it is imported.
        if (auto bytes = AtomicFile::read(iconsDir + u'/' + name, maxIconBytes))
            deck.icons.emplace(name, std::move(*bytes));
    }
    return deck;
}

std::optional<QString> exportTo(const QString& path, const LocalDeck& deck)
{
    const DeckFile file =
        snapshot(deck.store.pages(), {deck.settings.gridColumns(), deck.settings.gridRows()}, deck.iconsDir,
                 deck.clock.now());
    const std::optional<QByteArray> bytes = encodeReadable(file);
    if (!bytes)
        return QStringLiteral("The deck is too large for a deck file.");
    return AtomicFile::write(path, *bytes);
}

std::optional<QByteArray> encodeReadable(const DeckFile& deck)
{
    // A file no reader accepts would look like a good export, or a good upload, until the day it is needed.
    QByteArray bytes = encode(deck);
    if (bytes.size() > maxFileBytes)
        return std::nullopt;
    return bytes;
}

Expected<Prepared, TransferError> read(const QString& path)
{
    const auto bytes = readBytes(path);
    if (!bytes)
        return Unexpected{bytes.error()};
    return prepare(*bytes);
}

Expected<QByteArray, TransferError> readBytes(const QString& path)
{
    // A file that says it is too large is refused before a byte is read; the read is bounded as well, for
    // files whose size is unknown until read.
    if (QFileInfo(path).size() > maxFileBytes)
        return Unexpected{TransferError::unreadable};
    auto bytes = AtomicFile::read(path, maxFileBytes);
    if (!bytes)
        return Unexpected{TransferError::unreadable};
    return std::move(*bytes);
}

Expected<Prepared, TransferError> prepare(const QByteArray& bytes)
{
    auto deck = decode(bytes);
    if (!deck)
        return Unexpected{deck.error()};
    return prepare(std::move(*deck));
}

Expected<Prepared, TransferError> prepare(DeckFile deck)
{
    Prepared prepared;
    prepared.pageCount = static_cast<int>(deck.pages.size());
    for (const Page& page : deck.pages) {
        for (const Tile& tile : page) {
            if (!tile.action)
                continue;
            ++prepared.tileCount;
            prepared.scriptTileCount += scriptCount(*tile.action);
        }
    }
    if (prepared.tileCount == 0)
        return Unexpected{TransferError::empty};
    prepared.deck = std::move(deck);
    return prepared;
}

bool replaceDeck(Pages pages, Grid grid, TileStore& store, DeckSettings& settings,
                 TileStore::ChangeOrigin origin)
{
    if (pages.empty())
        return false;
    // The deck being replaced goes into the backups as it is in memory, with an edit still waiting for the
    // debounce, even when this second has a backup already.
    store.backups().saveBackup(store.pages());
    const bool supported =
        std::find(supportedGrids.begin(), supportedGrids.end(), grid) != supportedGrids.end();
    const bool gridChanged =
        supported && (grid.columns != settings.gridColumns() || grid.rows != settings.gridRows());
    if (gridChanged)
        settings.setGrid(grid.columns, grid.rows);
    store.replace(std::move(pages), origin);
    store.savePendingChange();
    return gridChanged;
}

} // namespace DeckTransfer
