#pragma once

#include "model/Models.h"

#include <QSet>
#include <QString>
#include <cstddef>
#include <vector>

// The launch tiles a first launch starts with, gathered up to a limit from what the desktop pins; the same
// application listed twice becomes one tile. Each desktop's starter deck fills one.
class StarterTiles final {
public:
    explicit StarterTiles(int limit);

    [[nodiscard]] bool isFull() const { return m_tiles.size() >= m_limit; }
    [[nodiscard]] bool isEmpty() const { return m_tiles.empty(); }

    // A launch tile for the application at `path`, unless one was added already.
    void add(const QString& path);
    void add(TileAction action);

    [[nodiscard]] std::vector<Tile> take() { return std::move(m_tiles); }

private:
    std::size_t m_limit = 0;
    QSet<QString> m_used;
    std::vector<Tile> m_tiles;
};
