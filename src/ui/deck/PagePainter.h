#pragma once

#include "model/Models.h"
#include "ui/deck/TileSnapshots.h"
#include "ui/paint/TileIconPainter.h"

#include <QPointF>
#include <QTransform>
#include <optional>
#include <vector>

class DeckGeometry;
class QPainter;

// Paints one page of tiles: each tile's plate, outline and icon, pressed and hovered as its motion says. The
// page is placed by the transform handed in, so that two pages can be drawn at once while they change places.
//
// Main thread only.
class PagePainter final {
public:
    // Where a tile's springs and its part in a deal or a page change are now: scale and turn (degrees) about
    // its centre, then an offset.
    struct TileMotion {
        double scale = 1;
        double hoverBoost = 0;
        double opacity = 1;
        double turn = 0;
        QPointF offset;
    };

    // What the page shows beyond its tiles.
    struct State {
        bool editing = false;
        double backgroundOpacity = 1;
        std::optional<int> hoveredIndex;
        // The tile lifted by a drag, when it comes from this page.
        std::optional<int> dragSourceIndex;
        std::optional<int> dropTargetIndex;
        // One per slot; a slot without one is at rest.
        std::vector<TileMotion> motion;
        // Each slot's state light, when it has one.
        std::vector<std::optional<double>> lights;
        // What the now-playing tiles show.
        const QImage* nowPlayingArtwork = nullptr;
        bool isPlaying = false;
        // While the deck moves each tile is drawn from a picture of it, made once per look.
        bool fromSnapshots = false;
        // While the pages change places those pictures are scaled unsmoothed: the tiles fade as they scale.
        bool roughScaling = false;
    };

    explicit PagePainter(TileIconPainter::Services services);

    // Starts a frame of the deck, before its pages are painted.
    void beginFrame() { m_snapshots.beginFrame(); }
    void paint(QPainter& painter, const QTransform& transform, const DeckGeometry& geometry, const Page& page,
               const State& state);
    // The dragged tile lifted off the page: its icon on a plate, a little enlarged and casting a shadow,
    // centred on `centre`.
    void paintGhost(QPainter& painter, const DeckGeometry& geometry, const Tile& tile, QPointF centre);
    [[nodiscard]] TileIconPainter& icons() { return m_icons; }
    // Forgets every prepared image and picture of a tile, after icon files changed.
    void clearCache();

private:
    void paintTile(QPainter& painter, const DeckGeometry& geometry, const Tile& tile, int index,
                   const State& state);
    // The tile at rest on its face: its plate, outline and icon.
    void paintFace(QPainter& painter, const DeckGeometry& geometry, const Tile& tile, int index,
                   const State& state, double hoverBoost);
    [[nodiscard]] TileSnapshots::Look snapshotLook(const QPainter& painter, const DeckGeometry& geometry,
                                                   const Tile& tile, int index, const State& state,
                                                   double hoverBoost) const;

    TileIconPainter m_icons;
    TileSnapshots m_snapshots;
    const Tile m_emptyTile;
};
