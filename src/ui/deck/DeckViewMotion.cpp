// The deck's motion: the springs of the tiles under the pointer, the page transitions and the deal.
#include "core/Logging.h"
#include "deck/DealEngine.h"
#include "deck/DealIn.h"
#include "deck/EditMode.h"
#include "model/Settings.h"
#include "model/TileStore.h"
#include "ui/deck/DeckView.h"

#include <algorithm>

void DeckView::retargetMotion(const DeckGeometry& geometry)
{
    const auto tiles = static_cast<std::size_t>(geometry.tilesPerPage());
    if (m_pressScales.size() != tiles) {
        m_pressScales.assign(tiles, Spring::Value(1, pressResponse, pressDamping));
        m_hoverBoosts.assign(tiles, Spring::Value(0, hoverResponse, hoverDamping));
    }
    const double now = m_motion.now();
    const bool editing = m_services.editMode.isEditing();
    bool moving = false;
    for (std::size_t index = 0; index < tiles; ++index) {
        const bool hovered = m_hoveredIndex == static_cast<int>(index);
        const bool pressed =
            hovered && m_press && m_press->index == static_cast<int>(index) && m_press->pendingClick;
        m_pressScales[index].retarget(pressed ? pressedScale : 1, now);
        m_hoverBoosts[index].retarget(hovered && !editing ? TileIconPainter::hoverBoost : 0, now);
        moving = moving || !m_pressScales[index].isSettled(now) || !m_hoverBoosts[index].isSettled(now);
    }
    if (moving)
        m_motion.start();
}

void DeckView::advanceMotion()
{
    const double now = m_motion.now();
    const auto settled = [now](const Spring::Value& value) { return value.isSettled(now); };
    if (std::all_of(m_pressScales.begin(), m_pressScales.end(), settled) &&
        std::all_of(m_hoverBoosts.begin(), m_hoverBoosts.end(), settled))
        m_motion.stop();
    update(motionArea());
}

void DeckView::pageChanged(int page)
{
    const int from = m_shownPage;
    m_shownPage = page;
    if (from == page) {
        update();
        return;
    }
    showPageChange(from, page);
}

void DeckView::previewTransition()
{
    // The page before comes back in, or the next one when there is none before: either way the current page
    // is where the change ends, and nothing but the picture moves.
    const int current = m_services.store.currentPage();
    const int pageCount = static_cast<int>(m_services.store.pages().size());
    const int from = current > 0 ? current - 1 : std::min(current + 1, pageCount - 1);
    showPageChange(std::max(from, 0), current);
}

void DeckView::showPageChange(int from, int page)
{
    const DeckGeometry geometry = deckGeometry();
    m_pageChange = PageChange{from,
                              page,
                              m_transition.now(),
                              {m_services.settings.pageTransition(), m_services.deal.reducesMotion(),
                               geometry.grid().tilePadding, geometry.pageRect().size()}};
    startTransition();
}

void DeckView::startTransition()
{
    update();
    const double now = m_transition.now();
    if (m_transition.isRunning() || !transitionMoves(now))
        return;
    m_transitionFrames = 0;
    m_transitionStart = now;
    m_transition.start();
}

void DeckView::advanceTransition()
{
    const double now = m_transition.now();
    if (!transitionMoves(now)) {
        m_transition.stop();
        m_pageChange.reset();
        m_dealStart.reset();
        const double seconds = now - m_transitionStart;
        qCDebug(lcMotion).noquote() << "Marquetto: motion painted" << m_transitionFrames << "frames in"
                                    << QString::number(seconds * 1000, 'f', 1) << "ms ="
                                    << QString::number(m_transitionFrames / std::max(seconds, 1e-3), 'f', 1)
                                    << "per second";
        update();
        return;
    }
    // Dealt tiles fly in from beyond the page; a page change and its tiles stay within their reach.
    if (m_dealStart)
        update();
    else
        update(motionArea());
}

QRect DeckView::motionArea() const
{
    const double reach = TileSnapshots::margin;
    return deckGeometry().pageRect().adjusted(-reach, -reach, reach, reach).toAlignedRect();
}

void DeckView::settleTransition()
{
    m_pageChange.reset();
    m_dealStart.reset();
    m_transition.stop();
    update();
}

bool DeckView::transitionMoves(double now) const
{
    const DeckGeometry::Grid grid = deckGeometry().grid();
    if (m_pageChange &&
        now - m_pageChange->start < PageTransition::duration(m_pageChange->style, grid.columns))
        return true;
    if (m_dealStart && now - *m_dealStart < DealIn::duration(DealIn::delay(grid.rows - 1, grid.columns - 1)))
        return true;
    return m_services.deal.isGathered() && m_gatherAnimated &&
           now - m_gatherStart < DealEngine::gatherMs / 1000.0;
}

void DeckView::applyDeal(PagePainter::State& state, const DeckGeometry& geometry, const Page& page,
                         double now) const
{
    const bool gathered = m_services.deal.isGathered();
    if (!gathered && !m_dealStart)
        return;
    const DeckGeometry::Grid& grid = geometry.grid();
    const double step = grid.tileSide + grid.tileGap;
    const double gather =
        m_gatherAnimated ? DealIn::gatherProgress(now - m_gatherStart, DealEngine::gatherMs / 1000.0) : 1;
    const std::size_t tiles = std::min(state.motion.size(), page.size());
    for (std::size_t slot = 0; slot < tiles; ++slot) {
        // Empty tiles are no cards: they neither gather nor fly.
        if (page[slot].isEmpty())
            continue;
        const int index = static_cast<int>(slot);
        const int row = geometry.rowOf(index);
        const int column = geometry.columnOf(index);
        const QPointF from = DealIn::from(row, column, step);
        DealIn::Values values;
        if (m_dealStart)
            values = DealIn::at(now - *m_dealStart, DealIn::delay(row, column), from);
        if (gathered) {
            const DealIn::Values pulled = DealIn::gathered(from, gather);
            values.opacity *= pulled.opacity;
            values.scale *= pulled.scale;
            values.offset += pulled.offset;
        }
        PagePainter::TileMotion& motion = state.motion[slot];
        motion.opacity *= values.opacity;
        motion.scale *= values.scale;
        motion.turn += values.turn;
        motion.offset += values.offset;
    }
}
