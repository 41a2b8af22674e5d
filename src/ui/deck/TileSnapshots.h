#pragma once

#include "model/Models.h"

#include <QImage>
#include <QRectF>
#include <functional>
#include <optional>
#include <vector>

class QPainter;

// Tiles drawn from pictures of themselves while the deck moves. In those frames most tiles only scale, turn
// or fade: drawing them anew would lay out their text and fill their paths again at every frame, and the
// raster engine hands each large fill to worker threads and waits for them. A picture made once per look is
// drawn instead; unsmoothed, the raster engine blends it in one pass on the painting thread.
//
// Main thread only.
class TileSnapshots final {
public:
    // Everything a tile's picture depends on. The face comes first: it tells most tiles apart at once.
    struct Look {
        QRectF face;
        double devicePixelRatio = 1;
        TileIcon icon;
        std::optional<TileAction> action;
        double hoverBoost = 0;
        double emptyChromeOpacity = 1;
        bool editing = false;
        bool dropTarget = false;
        std::optional<double> light;
        qint64 artworkKey = 0;
        bool isPlaying = false;

        bool operator==(const Look&) const = default;
    };

    // How far a tile's painting may reach beyond its face: a hovered picture's shadow.
    static constexpr double margin = 12;

    // Starts a frame: the pictures no frame drew since the last start are dropped.
    void beginFrame();
    // Draws the tile's picture at its place, painting it with `paint` the first time the look is seen.
    void draw(QPainter& painter, const Look& look, bool smooth, const std::function<void(QPainter&)>& paint);
    void clear() { m_snapshots.clear(); }
    [[nodiscard]] std::size_t size() const { return m_snapshots.size(); }

private:
    struct Snapshot {
        Look look;
        QImage image;
        QPointF at;
        bool drawn = true;
    };

    std::vector<Snapshot> m_snapshots;
};
