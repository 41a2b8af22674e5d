// The deck's painting: its pages with their tiles in motion, the row under them, the starter hint and the
// dragged tile.
#include "actions/NowPlaying.h"
#include "deck/EditMode.h"
#include "model/Settings.h"
#include "model/StarterHint.h"
#include "model/TileStore.h"
#include "platform/PlatformWordings.h"
#include "ui/deck/DeckView.h"
#include "ui/deck/NowPlayingArtwork.h"
#include "ui/paint/DeckPaint.h"
#include "ui/paint/PhosphorFont.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace {

// A spring that has settled is exactly at its target, which the icon painter's size classes rely on.
double settledAt(const Spring::Value& value, double now)
{
    return value.isSettled(now) ? value.target() : value.at(now);
}

} // namespace

PagePainter::State DeckView::pageState(const DeckGeometry& geometry) const
{
    const EditModeState& editMode = m_services.editMode;
    const int page = m_services.store.currentPage();
    PagePainter::State state;
    state.editing = editMode.isEditing();
    state.backgroundOpacity = m_services.settings.backgroundOpacity();
    state.hoveredIndex = m_hoveredIndex;
    if (editMode.dragSourcePage() == page)
        state.dragSourceIndex = editMode.dragSourceIndex();
    // A tile dropped back on its own slot has nothing to light up.
    if (editMode.isDragging() && editMode.dropTargetIndex() != state.dragSourceIndex)
        state.dropTargetIndex = editMode.dropTargetIndex();
    if (m_fileDropIndex)
        state.dropTargetIndex = m_fileDropIndex;
    state.fromSnapshots = isMoving();
    const double now = m_motion.now();
    state.motion.reserve(static_cast<std::size_t>(geometry.tilesPerPage()));
    for (std::size_t index = 0; index < m_pressScales.size(); ++index) {
        PagePainter::TileMotion& motion = state.motion.emplace_back();
        motion.scale = settledAt(m_pressScales[index], now);
        motion.hoverBoost = settledAt(m_hoverBoosts[index], now);
    }
    const Pages& pages = m_services.store.pages();
    if (page >= 0 && page < static_cast<int>(pages.size()))
        for (const Tile& tile : pages[static_cast<std::size_t>(page)])
            state.lights.push_back(m_lights.opacity(tile.id, m_lightFrames.now()));
    const NowPlayingArtwork& nowPlaying = m_services.nowPlaying;
    state.nowPlayingArtwork = &nowPlaying.image();
    state.isPlaying = nowPlaying.model().isPlaying();
    return state;
}

void DeckView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    const DeckGeometry geometry = deckGeometry();
    // Every change of press or hover repaints; the springs take their new targets here.
    retargetMotion(geometry);
    if (m_transition.isRunning())
        ++m_transitionFrames;
    paintDeck(painter, geometry);
    paintPages(painter, geometry);
    if (geometry.showsStarterHint())
        paintStarterHint(painter, geometry);
    else
        m_row.paint(painter, geometry, m_hoveredRowItem);
    // Frames of moving tiles leave the band as it is.
    if (geometry.showsBand() && event->rect().intersects(geometry.bandRect().toAlignedRect()))
        m_band.paint(painter, geometry.bandRect(), m_hoveredModule);
    paintDragGhost(painter, geometry);
    if (m_shownTip)
        m_tooltip.paint(painter, *m_shownTip, m_tipOpacity, m_services.settings);
}

void DeckView::paintPages(QPainter& painter, const DeckGeometry& geometry)
{
    m_pages.beginFrame();
    const TileStore& store = m_services.store;
    const Pages& pages = store.pages();
    const int current = store.currentPage();
    if (current < 0 || static_cast<std::size_t>(current) >= pages.size())
        return;
    const Page& page = pages[static_cast<std::size_t>(current)];
    const double now = m_transition.now();
    PagePainter::State state = pageState(geometry);
    applyDeal(state, geometry, page, now);
    if (!m_pageChange || m_pageChange->to != current ||
        static_cast<std::size_t>(m_pageChange->from) >= pages.size()) {
        paintPage(painter, geometry, page, {}, state);
        return;
    }

    const PageChange& change = *m_pageChange;
    const double elapsed = now - change.start;
    const int direction = change.to > change.from ? 1 : -1;
    const int columns = geometry.grid().columns;
    state.roughScaling = true;
    PagePainter::State leaving;
    leaving.fromSnapshots = true;
    leaving.roughScaling = true;
    leaving.editing = state.editing;
    leaving.backgroundOpacity = state.backgroundOpacity;
    leaving.motion.resize(state.motion.size());
    for (std::size_t slot = 0; slot < state.motion.size(); ++slot) {
        const double delay =
            PageTransition::rippleDelay(geometry.columnOf(static_cast<int>(slot)), columns, direction);
        const PageTransition::TileLook out = PageTransition::tile(change.style, false, elapsed, delay);
        leaving.motion[slot].opacity = out.opacity;
        leaving.motion[slot].scale = out.scale;
        const PageTransition::TileLook in = PageTransition::tile(change.style, true, elapsed, delay);
        state.motion[slot].opacity *= in.opacity;
        state.motion[slot].scale *= in.scale;
    }
    paintPage(painter, geometry, pages[static_cast<std::size_t>(change.from)],
              PageTransition::page(change.style, 0, change.from - change.to, elapsed), leaving);
    paintPage(painter, geometry, page,
              PageTransition::page(change.style, change.to - change.from, 0, elapsed), state);
}

void DeckView::paintPage(QPainter& painter, const DeckGeometry& geometry, const Page& page,
                         const PageTransition::PageLook& look, const PagePainter::State& state)
{
    if (look.opacity <= 0)
        return;
    const QPointF centre = geometry.pageRect().center();
    QTransform transform;
    transform.translate(centre.x() + look.offset, centre.y());
    transform.scale(look.scale, look.scale);
    transform.translate(-centre.x(), -centre.y());
    painter.save();
    painter.setOpacity(look.opacity);
    m_pages.paint(painter, transform, geometry, page, state);
    painter.restore();
}

void DeckView::paintDeck(QPainter& painter, const DeckGeometry& geometry)
{
    DeckChrome::Look look;
    look.area = rect();
    look.size = geometry.size();
    look.devicePixelRatio = painter.device()->devicePixelRatioF();
    look.opaque = m_opaque;
    look.fill = QColor(24, 24, 28);
    // No glass to blur the desktop behind: a dark veil as strong as the glass would be.
    if (!m_opaque)
        look.fill.setAlphaF(static_cast<float>(0.25 + 0.6 * m_services.settings.backgroundOpacity()));
    if (const TintFade::Look tint = tintLook(); tint.weight > 0) {
        look.wash = tint.colour;
        look.wash->setAlphaF(static_cast<float>(0.4 * tint.weight));
    }
    look.border = borderColour();
    m_chrome.paint(painter, look, isMoving());
}

double DeckView::hintTextWidth() const
{
    return std::ceil(m_hintFont.horizontalAdvance(m_services.wordings.starterHint));
}

void DeckView::paintStarterHint(QPainter& painter, const DeckGeometry& geometry)
{
    const double width = hintTextWidth();
    painter.setPen(DeckPaint::white(0.75));
    m_hintFont.draw(painter, geometry.hintTextRect(width), Qt::AlignCenter, m_services.wordings.starterHint);
    const DeckGeometry::RowItem close = geometry.hintClose(width);
    const bool hovered = m_hoveredRowItem && m_hoveredRowItem->sameAs(close);
    DeckPaint::drawSymbol(painter, m_services.font, close.rect, QStringLiteral("xmark"), 9,
                          DeckPaint::white(hovered ? 0.9 : 0.45));
}

void DeckView::paintDragGhost(QPainter& painter, const DeckGeometry& geometry)
{
    const EditModeState& editMode = m_services.editMode;
    if (!editMode.dragSourcePage() || !editMode.dragSourceIndex())
        return;
    m_pages.paintGhost(painter, geometry,
                       m_services.store.tile(*editMode.dragSourcePage(), *editMode.dragSourceIndex()),
                       editMode.dragLocation());
}
