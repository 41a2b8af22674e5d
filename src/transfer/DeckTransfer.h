#pragma once

#include "core/CanonicalJson.h"
#include "core/Expected.h"
#include "model/Models.h"
#include "model/TileStore.h"
#include "platform/AlertPresenter.h"

#include <QByteArray>
#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <map>
#include <optional>

class Clock;
class DeckSettings;
struct PlatformWordings;

// The deck file: the whole deck (every page of tiles, the grid it was made for and the custom icon images its
// tiles use) as one self-contained JSON document, and the way back from such a file to the deck. The same
// record is the cloud copy's payload, which fills the three fields an export leaves out.
//
// Reading is defensive: the format number is checked before anything else, sizes are bounded before they are
// allocated, and embedded images are vetted before any of them reaches the icons folder. Nothing is written
// until `storeIcons`, and `replaceDeck` replaces the deck in one step after backing up the layout it
// replaces.
//
// Stateless. `snapshot`, `encode`, `decode`, `read`, `prepare` and `storeIcons` touch no shared object and
// are safe on any thread; `exportTo` and `replaceDeck` touch the store and the settings and are main thread
// only.
namespace DeckTransfer {

inline constexpr int currentFormat = 1;
inline constexpr QStringView appName = u"Marquetto";
inline constexpr QStringView mimeType = u"application/x-marquetto-deck";
inline constexpr QStringView suggestedFileName = u"My Deck.marquetto";

// A deck file larger than this is refused before it is read. Icons are stored at most 512 pixels a side, so
// even a hundred photo-like custom icons stay far below it, while a hostile file cannot make the reader hold
// several copies of hundreds of megabytes (the bytes, the parsed document, the decoded images).
inline constexpr qint64 maxFileBytes = 64 * 1024 * 1024;
// Embedded images above this many bytes are not stored; their tiles fall back to automatic icons.
inline constexpr qint64 maxIconBytes = 20'000'000;
// No deck lays out more than 8 × 8 slots a page, and no real deck has a thousand pages. A file beyond either
// would make a layout file that the next launch refuses as too large.
inline constexpr int maxPages = 1000;
inline constexpr int maxTilesPerPage = 64;
// Icon names of the deck file are kept only when they are this short and plain; see `isPlainFileName`.
inline constexpr int maxPlainBaseLength = 80;

struct Grid {
    int columns = 0;
    int rows = 0;
    bool operator==(const Grid&) const = default;
};

// The grids an imported deck may impose, the three the settings offer.
inline constexpr std::array<Grid, 3> supportedGrids{{{3, 3}, {4, 3}, {3, 4}}};

// The lower-case extensions of icon files kept as they came.
[[nodiscard]] const QStringList& imageExtensions();

struct CodePointLess {
    bool operator()(const QString& a, const QString& b) const { return CanonicalJson::lessByCodePoint(a, b); }
};

// Icon file name as it appears in `TileIcon::Custom` → the file's bytes, in the order they are written.
using IconMap = std::map<QString, QByteArray, CodePointLess>;

// Read before the rest of a file, so that a newer format is recognised whatever else it holds.
struct Header {
    qint64 format = 0;
};

struct DeckFile {
    qint64 format = currentFormat;
    QString app = appName.toString();
    std::optional<QString> appVersion;
    // Whole seconds, UTC.
    QDateTime exportedAt;
    int gridColumns = 0;
    int gridRows = 0;
    Pages pages;
    IconMap icons;
    // The cloud copy's upload counter, writing machine's sync identity and computer name; absent in exports.
    std::optional<qint64> revision;
    std::optional<QString> sourceDevice;
    std::optional<QString> sourceName;

    [[nodiscard]] Grid grid() const { return {gridColumns, gridRows}; }
    bool operator==(const DeckFile&) const = default;
};

enum class TransferError {
    unreadable,  // not readable, not JSON, no integer "format", or not a deck of a known format
    newerFormat, // "format" above `currentFormat`
    empty,       // no tile on any page has an action
};

// The text shown to the user under "Couldn't import that deck.".
[[nodiscard]] QString description(TransferError error);

// A file read for import, with what the confirmation tells the user.
struct Prepared {
    DeckFile deck;
    // Tiles with an action, over all pages.
    int tileCount = 0;
    // Pages in the file, empty ones included.
    int pageCount = 0;
    // Script actions in those tiles, scene steps at any depth included.
    int scriptTileCount = 0;
};

// An embedded image that passed vetting: the bytes to store and the lower-case extension to store them under.
struct VettedIcon {
    QByteArray bytes;
    QString extension;
    bool operator==(const VettedIcon&) const = default;
};

// Decides whether embedded image bytes may become an icon file. Decoding images needs Qt Gui, which the core
// does not link: the deck passes `IconVetting::vet`, tests pass what they need.
using Vet = std::function<std::optional<VettedIcon>(const QByteArray& bytes)>;

// What `exportTo` works on: this machine's deck.
struct LocalDeck {
    TileStore& store;
    DeckSettings& settings;
    QString iconsDir;
    const Clock& clock;
};

// The confirmation shown before an import replaces the deck: message, informative text (with the script
// warning when the deck runs scripts) and the buttons "Replace" and "Cancel".
struct Confirmation {
    Alert alert;
    // The deck runs scripts: the alert takes the warning style.
    bool isWarning = false;
};

// The names of every custom icon that a tile, on any page, uses as its own icon.
[[nodiscard]] QSet<QString> customIconNames(const Pages& pages);
// 1 for a script, the sum over the steps for a scene (at any depth), 0 otherwise.
[[nodiscard]] int scriptCount(const TileAction& action);

// The deck as a file record: the readable custom icons of `iconsDir` that the pages use, now as the export
// date, and this program's version when it has one.
[[nodiscard]] DeckFile snapshot(const Pages& pages, Grid grid, const QString& iconsDir, const QDateTime& now);
// Compact JSON, keys sorted at every level, "/" escaped, whole-second UTC dates, padded Base64.
[[nodiscard]] QByteArray encode(const DeckFile& deck);
// `encode`, or nothing when the file would be larger than `maxFileBytes`, which every reader refuses.
[[nodiscard]] std::optional<QByteArray> encodeReadable(const DeckFile& deck);
// `newerFormat` for a format above the current one whatever else the bytes hold; `unreadable` for anything
// that is not a complete deck file, including dates with fractional seconds and Base64 that does not decode.
[[nodiscard]] Expected<DeckFile, TransferError> decode(const QByteArray& bytes);

// Writes the deck (the store's pages, the settings' grid) to `path` atomically. Nothing on success, the
// reason on failure; the previous file at `path` is then untouched.
[[nodiscard]] std::optional<QString> exportTo(const QString& path, const LocalDeck& deck);
// Reads and checks a deck file for import. Writes nothing.
[[nodiscard]] Expected<Prepared, TransferError> read(const QString& path);
// The bytes of a deck file, read once and bounded in size; `unreadable` when they cannot be had.
[[nodiscard]] Expected<QByteArray, TransferError> readBytes(const QString& path);
// Checks the bytes of a deck file for import, as `read` does the file.
[[nodiscard]] Expected<Prepared, TransferError> prepare(const QByteArray& bytes);
// The counts of a decoded deck, or `empty`.
[[nodiscard]] Expected<Prepared, TransferError> prepare(DeckFile deck);

// Makes pages whose icons `storeIcons` stored the deck, backing up the layout it replaces first; sets the
// grid when the deck's is supported and differs, and saves at once. True when the grid changed: the caller
// rebuilds the panel.
bool replaceDeck(Pages pages, Grid grid, TileStore& store, DeckSettings& settings,
                 TileStore::ChangeOrigin origin = TileStore::ChangeOrigin::import);
// Writes the deck's images that pass `vet` into `iconsDir` and answers its pages with every custom icon
// pointing at the stored file, or automatic where there is none. Never writes outside `iconsDir` and never
// overwrites a different existing file.
[[nodiscard]] Pages storeIcons(const DeckFile& deck, const QString& iconsDir, const QDateTime& now,
                               const Vet& vet);
// The name the image was stored under in `iconsDir`: `name` when it is plain and free or holds the same bytes
// already (its modification date is then refreshed), else the image's content name; nothing when neither
// could be written (logged).
[[nodiscard]] std::optional<QString> storeIcon(const VettedIcon& icon, const QString& name,
                                               const QString& iconsDir, const QDateTime& now);
// A short ASCII name of letters, digits, "-" and "_", starting with a letter or digit, with one of the
// `imageExtensions`: safe to keep as a file name.
[[nodiscard]] bool isPlainFileName(const QString& name);

// What the import asks before `storeIcons`, with the platform's word for where scripts run.
[[nodiscard]] Confirmation importConfirmation(const Prepared& prepared, const PlatformWordings& wordings);

} // namespace DeckTransfer
