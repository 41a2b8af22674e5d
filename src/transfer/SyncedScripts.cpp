#include "transfer/SyncedScripts.h"

#include "core/CanonicalJson.h"
#include "model/TileCoding.h"
#include "transfer/DeckTransfer.h"

#include <QCryptographicHash>
#include <QSet>
#include <algorithm>

namespace SyncedScripts {

namespace {

std::optional<QString> tileDigest(const Tile& tile)
{
    return tile.action ? digest(*tile.action) : std::nullopt;
}

} // namespace

std::optional<QString> digest(const TileAction& action)
{
    if (DeckTransfer::scriptCount(action) == 0)
        return std::nullopt;
    const QByteArray bytes = CanonicalJson::write(TileCoding::encode(action));
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QStringList held(const Pages& incoming, const Pages& local, const QStringList& heldBefore)
{
    QSet<QString> runFreely;
    for (const Page& page : local) {
        for (const Tile& tile : page) {
            if (const auto script = tileDigest(tile); script && !heldBefore.contains(*script))
                runFreely.insert(*script);
        }
    }
    QSet<QString> held;
    for (const Page& page : incoming) {
        for (const Tile& tile : page) {
            if (const auto script = tileDigest(tile); script && !runFreely.contains(*script))
                held.insert(*script);
        }
    }
    QStringList sorted(held.begin(), held.end());
    sorted.sort();
    return sorted;
}

bool isHeld(const Tile& tile, const QStringList& held)
{
    const auto script = held.isEmpty() ? std::nullopt : tileDigest(tile);
    return script && held.contains(*script);
}

int heldTileCount(const Pages& pages, const QStringList& held)
{
    int count = 0;
    for (const Page& page : pages)
        count += static_cast<int>(std::count_if(page.begin(), page.end(),
                                                [&held](const Tile& tile) { return isHeld(tile, held); }));
    return count;
}

} // namespace SyncedScripts
