#include "panel/EditMode.h"

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
    m_dropTargetIndex.reset();
    Q_EMIT dragChanged();
}

void EditModeState::updateDrag(QPointF location, QSizeF deckSize)
{
    if (!isDragging())
        return;
    Q_UNUSED(deckSize);
    m_dragLocation = location;
    Q_EMIT dragChanged();
}

// Dropping a tile on another slot arrives with the rearranging of tiles; until then a drop puts it back.
void EditModeState::endDrag()
{
    cancelDrag();
}

void EditModeState::cancelDrag()
{
    if (!isDragging())
        return;
    m_dragSourcePage.reset();
    m_dragSourceIndex.reset();
    m_dropTargetIndex.reset();
    Q_EMIT dragChanged();
}
