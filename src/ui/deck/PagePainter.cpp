#include "ui/deck/PagePainter.h"

#include "model/DeckGeometry.h"
#include "ui/paint/DeckPaint.h"

#include <QPainter>

namespace {

constexpr double tileCornerRadius = 18;
constexpr double emptyIconOpacity = 0.35;
constexpr double emptyOutlineOpacity = 0.18;
constexpr double ghostScale = 1.08;
constexpr double ghostShadowRadius = 10;
constexpr double ghostShadowDrop = 4;
constexpr double ghostShadowOpacity = 0.35;

// An empty tile's chrome is at full strength while hovered or editing, else it follows the glass.
double emptyChromeOpacity(double base, bool hovered, const PagePainter::State& state)
{
    if (hovered || state.editing)
        return base;
    return base * state.backgroundOpacity;
}

} // namespace

PagePainter::PagePainter(TileIconPainter::Services services)
    : m_icons(services)
{
}

void PagePainter::clearCache()
{
    m_icons.clearCache();
    m_snapshots.clear();
}

void PagePainter::paint(QPainter& painter, const QTransform& transform, const DeckGeometry& geometry,
                        const Page& page, const State& state)
{
    painter.save();
    painter.setTransform(transform, true);
    const auto stored = static_cast<int>(page.size());
    for (int index = 0; index < geometry.tilesPerPage(); ++index)
        paintTile(painter, geometry, index < stored ? page[static_cast<std::size_t>(index)] : m_emptyTile,
                  index, state);
    painter.restore();
}

void PagePainter::paintTile(QPainter& painter, const DeckGeometry& geometry, const Tile& tile, int index,
                            const State& state)
{
    const auto slot = static_cast<std::size_t>(index);
    const TileMotion motion = slot < state.motion.size() ? state.motion[slot] : TileMotion{};
    if (motion.opacity <= 0)
        return;

    painter.save();
    const QRectF face = geometry.slotRect(index);
    if (motion.scale != 1 || motion.turn != 0 || !motion.offset.isNull()) {
        painter.translate(face.center() + motion.offset);
        painter.rotate(motion.turn);
        painter.scale(motion.scale, motion.scale);
        painter.translate(-face.center());
    }
    // The page may be fading as a whole: the tile's own opacity goes on top of it.
    painter.setOpacity(painter.opacity() * motion.opacity * (state.dragSourceIndex == index ? 0.25 : 1));
    if (state.fromSnapshots) {
        const bool smooth = !state.roughScaling || motion.turn != 0;
        m_snapshots.draw(painter, snapshotLook(painter, geometry, tile, index, state, motion.hoverBoost),
                         smooth, [&](QPainter& onPicture) {
                             paintFace(onPicture, geometry, tile, index, state, motion.hoverBoost);
                         });
    } else {
        paintFace(painter, geometry, tile, index, state, motion.hoverBoost);
    }
    painter.restore();
}

void PagePainter::paintFace(QPainter& painter, const DeckGeometry& geometry, const Tile& tile, int index,
                            const State& state, double hoverBoost)
{
    const bool hovered = state.hoveredIndex == index;
    const auto slot = static_cast<std::size_t>(index);
    const double unit = geometry.unit();
    const QRectF face = geometry.slotRect(index);
    const double radius = tileCornerRadius * unit;
    const bool dropTarget = state.dropTargetIndex == index;
    if (dropTarget || state.editing)
        painter.fillPath(DeckPaint::roundedRect(face, radius), DeckPaint::white(dropTarget ? 0.15 : 0.06));
    const QRectF outline = face.adjusted(0.5, 0.5, -0.5, -0.5);
    if (tile.isEmpty()) {
        QPen dashed(DeckPaint::white(emptyChromeOpacity(emptyOutlineOpacity, hovered, state)), 1);
        dashed.setDashPattern({5, 4});
        painter.strokePath(DeckPaint::roundedRect(outline, radius - 0.5), dashed);
    } else if (state.editing) {
        painter.strokePath(DeckPaint::roundedRect(outline, radius - 0.5), QPen(DeckPaint::white(0.12), 1));
    }

    TileIconPainter::Live live{std::nullopt, state.nowPlayingArtwork, state.isPlaying};
    if (slot < state.lights.size())
        live.lightOpacity = state.lights[slot];
    m_icons.paint(painter, tile, face, unit, hoverBoost, emptyChromeOpacity(emptyIconOpacity, hovered, state),
                  live);
}

TileSnapshots::Look PagePainter::snapshotLook(const QPainter& painter, const DeckGeometry& geometry,
                                              const Tile& tile, int index, const State& state,
                                              double hoverBoost) const
{
    const auto slot = static_cast<std::size_t>(index);
    TileSnapshots::Look look;
    look.face = geometry.slotRect(index);
    look.devicePixelRatio = painter.device()->devicePixelRatioF();
    look.icon = tile.icon;
    look.action = tile.action;
    look.hoverBoost = hoverBoost;
    look.emptyChromeOpacity = emptyChromeOpacity(1, state.hoveredIndex == index, state);
    look.editing = state.editing;
    look.dropTarget = state.dropTargetIndex == index;
    if (slot < state.lights.size())
        look.light = state.lights[slot];
    look.artworkKey = state.nowPlayingArtwork ? state.nowPlayingArtwork->cacheKey() : 0;
    look.isPlaying = state.isPlaying;
    return look;
}

void PagePainter::paintGhost(QPainter& painter, const DeckGeometry& geometry, const Tile& tile,
                             QPointF centre)
{
    const double unit = geometry.unit();
    const double side = geometry.grid().tileSide;
    const double radius = tileCornerRadius * unit;
    painter.save();
    painter.translate(centre);
    painter.scale(ghostScale, ghostScale);
    const QRectF face(-side / 2, -side / 2, side, side);
    // A soft shadow from rings that grow fainter outwards, without blurring an image on every frame.
    constexpr int rings = 5;
    for (int ring = rings; ring >= 1; --ring) {
        const double spread = ghostShadowRadius * ring / rings;
        QColor shade(0, 0, 0);
        shade.setAlphaF(static_cast<float>(ghostShadowOpacity / rings));
        painter.fillPath(DeckPaint::roundedRect(
                             face.translated(0, ghostShadowDrop).adjusted(-spread, -spread, spread, spread),
                             radius + spread),
                         shade);
    }
    painter.fillPath(DeckPaint::roundedRect(face, radius), DeckPaint::white(0.12));
    m_icons.paint(painter, tile, face, unit, 0, emptyIconOpacity);
    painter.restore();
}
