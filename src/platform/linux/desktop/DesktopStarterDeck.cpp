#include "platform/linux/desktop/DesktopStarterDeck.h"

#include "core/AppId.h"
#include "model/StarterTiles.h"

#include <QFileInfo>

namespace {

// The deck's own desktop entry, under its name or the one earlier versions gave it, which a desktop's
// favourites may still name.
bool isOwnEntry(const QString& fileName)
{
    return fileName == AppId::desktopEntry() || fileName == u"marquetto.desktop";
}

void addApplications(StarterTiles& collector, const QStringList& paths)
{
    for (const QString& path : paths) {
        if (collector.isFull())
            return;
        if (!isOwnEntry(QFileInfo(path).fileName()))
            collector.add(path);
    }
}

} // namespace

std::vector<Tile> DesktopStarterDeck::tiles(int limit, const Workspace& workspace)
{
    StarterTiles collector(limit);
    if (collector.isFull())
        return {};
    addApplications(collector, workspace.favouriteApplications());
    if (!collector.isEmpty())
        return collector.take();
    // A desktop that pins nothing still has the applications everyone starts with. A lock tile alone would
    // be no deck to start from, so it comes only after one of them.
    addApplications(collector, workspace.everydayApplications());
    if (!collector.isEmpty())
        collector.add(TileAction{TileAction::RunSystemAction{SystemAction::lockScreen}});
    return collector.take();
}
