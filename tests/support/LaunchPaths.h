#pragma once

#include "model/Models.h"

#include <QStringList>
#include <vector>

// The applications the tiles launch, in their order; a tile that launches none shows as such.
inline QStringList launchPaths(const std::vector<Tile>& tiles)
{
    QStringList paths;
    for (const Tile& tile : tiles) {
        const TileAction::LaunchApp* launch =
            tile.action ? tile.action->as<TileAction::LaunchApp>() : nullptr;
        paths << (launch ? launch->path : QStringLiteral("<not a launch tile>"));
    }
    return paths;
}
