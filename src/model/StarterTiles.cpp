#include "model/StarterTiles.h"

#include <algorithm>

StarterTiles::StarterTiles(int limit)
    : m_limit(static_cast<std::size_t>(std::max(limit, 0)))
{
}

void StarterTiles::add(const QString& path)
{
    if (m_used.contains(path))
        return;
    m_used.insert(path);
    add(TileAction{TileAction::LaunchApp{path}});
}

void StarterTiles::add(TileAction action)
{
    if (isFull())
        return;
    Tile tile;
    tile.action = std::move(action);
    m_tiles.push_back(std::move(tile));
}
