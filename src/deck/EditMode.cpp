#include "deck/EditMode.h"

#include "model/DeckGeometry.h"
#include "model/TileStore.h"

EditModeState::EditModeState(TileStore& store, QObject* parent)
    : QObject(parent)
    , m_store(store)
{
    m_edgeTimer.setInterval(edgeFlipIntervalMs);
    connect(&m_edgeTimer, &QTimer::timeout, this, &EditModeState::flipAtEdge);
}

void EditModeState::setEditing(bool editing)
{
    if (editing == m_isEditing)
        return;
    m_isEditing = editing;
    // A drag belongs to edit mode and ends with it.
    if (!editing)
        cancelDrag();
    Q_EMIT editingChanged(editing);
}

void EditModeState::beginDrag(int page, int index)
{
    m_dragSourcePage = page;
    m_dragSourceIndex = index;
    m_dragTileId = m_store.tile(page, index).id;
    m_dropTargetIndex.reset();
    Q_EMIT dragChanged();
}

void EditModeState::updateDrag(QPointF location, const DeckGeometry& geometry)
{
    if (!isDragging())
        return;
    m_dragLocation = location;
    m_dropTargetIndex = geometry.dragSlotAt(location);
    updateEdgeFlip(location.x(), geometry.size().width());
    Q_EMIT dragChanged();
}

void EditModeState::endDrag()
{
    if (m_dragSourcePage && m_dragSourceIndex && m_dropTargetIndex &&
        m_store.tile(*m_dragSourcePage, *m_dragSourceIndex).id == m_dragTileId) {
        m_store.swapTiles(*m_dragSourcePage, *m_dragSourceIndex, m_store.currentPage(), *m_dropTargetIndex);
    }
    cancelDrag();
}

void EditModeState::cancelDrag()
{
    m_edgeTimer.stop();
    m_edgeDirection = 0;
    if (!isDragging())
        return;
    m_dragSourcePage.reset();
    m_dragSourceIndex.reset();
    m_dropTargetIndex.reset();
    m_dragTileId = QUuid();
    Q_EMIT dragChanged();
}

void EditModeState::updateEdgeFlip(double x, double width)
{
    if (width <= 0)
        return;
    int direction = 0;
    if (x < edgeZoneWidth)
        direction = -1;
    else if (x > width - edgeZoneWidth)
        direction = 1;
    if (direction == m_edgeDirection)
        return;
    m_edgeDirection = direction;
    m_edgeTimer.stop();
    // At the first or last page there is nowhere to flip to, and nothing needs to wake up.
    if (direction != 0 && canFlip(direction))
        m_edgeTimer.start();
}

void EditModeState::flipAtEdge()
{
    if (!isDragging() || !canFlip(m_edgeDirection)) {
        m_edgeTimer.stop();
        return;
    }
    m_store.goToPage(m_store.currentPage() + m_edgeDirection);
    if (!canFlip(m_edgeDirection))
        m_edgeTimer.stop();
}

bool EditModeState::canFlip(int direction) const
{
    const int target = m_store.currentPage() + direction;
    return direction != 0 && target >= 0 && target < static_cast<int>(m_store.pages().size());
}
