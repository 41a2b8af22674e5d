// The deck's input: the pointer, the keys, the menu, and tiles and files dragged over it.
#include "band/BandEngines.h"
#include "deck/EditMode.h"
#include "deck/FileDrop.h"
#include "model/StarterHint.h"
#include "model/TileStore.h"
#include "ui/deck/DeckView.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <cmath>

namespace {

// Linking or copying leaves a dropped file where it is; a move would let the file manager delete it.
Qt::DropAction keepingAction(Qt::DropActions possible)
{
    return possible & Qt::LinkAction ? Qt::LinkAction : Qt::CopyAction;
}

} // namespace

void DeckView::followDrag()
{
    // The deck never takes the focus, so Escape reaches it during a drag only through a keyboard grab.
    const bool dragging = m_services.editMode.isDragging();
    if (dragging != m_keyboardGrabbed) {
        m_keyboardGrabbed = dragging;
        if (dragging)
            grabKeyboard();
        else
            releaseKeyboard();
    }
    update();
}

void DeckView::setHovered(std::optional<int> index)
{
    if (index == m_hoveredIndex)
        return;
    m_hoveredIndex = index;
    update();
    if (!index || m_services.editMode.isEditing()) {
        m_services.hover.clear();
        return;
    }
    const Tile tile = m_services.store.tile(m_services.store.currentPage(), *index);
    const std::optional<QString> text = tile.tooltipText(m_services.names);
    // Leaving one tile for the next hides the first bubble at once.
    m_services.hover.clear();
    if (text) {
        const DeckGeometry geometry = deckGeometry();
        m_services.hover.schedule(
            *text, TileHoverState::TileAnchor{geometry.rowOf(*index), geometry.columnOf(*index)});
    }
}

void DeckView::setHoveredModule(std::optional<BandLayout::Placement> placement)
{
    const std::optional<BandModule> module =
        placement ? std::optional(placement->module) : std::optional<BandModule>();
    if (module == m_hoveredModule)
        return;
    m_hoveredModule = module;
    update();
    m_services.hover.clear();
    if (placement) {
        const QPointF centre = placement->frame.center();
        m_services.hover.schedule(m_services.band.tooltip(placement->module),
                                  TileHoverState::PointAnchor{centre.x(), centre.y()});
    }
}

void DeckView::focusOutEvent(QFocusEvent*)
{
    endLostDrag();
}

void DeckView::endLostDrag()
{
    if (!m_services.editMode.isDragging())
        return;
    m_press.reset();
    m_services.editMode.cancelDrag();
}

void DeckView::mousePressEvent(QMouseEvent* event)
{
    // A press while a drag is in progress means its release went elsewhere (to a menu, another window's
    // grab): the drag is over, and the press is a new one.
    endLostDrag();
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const DeckGeometry geometry = deckGeometry();
    const QPointF position = event->position();
    if (const std::optional<int> index = geometry.slotAt(position)) {
        m_press = Press{m_services.store.currentPage(), *index, position, true};
        update();
        return;
    }
    if (const auto placement = m_band.placementAt(geometry.bandRect(), position)) {
        if (m_services.band.isClickable(placement->module))
            m_pressedModule = placement->module;
        else
            event->ignore();
        return;
    }
    m_pressedRowItem = geometry.rowItemAt(position, hintTextWidth());
    if (!m_pressedRowItem)
        event->ignore();
}

void DeckView::mouseMoveEvent(QMouseEvent* event)
{
    const DeckGeometry geometry = deckGeometry();
    const QPointF position = event->position();
    setHovered(geometry.slotAt(position));
    setHoveredModule(m_band.placementAt(geometry.bandRect(), position));
    const std::optional<DeckGeometry::RowItem> rowItem = geometry.rowItemAt(position, hintTextWidth());
    if (rowItem.has_value() != m_hoveredRowItem.has_value() ||
        (rowItem && !rowItem->sameAs(*m_hoveredRowItem))) {
        m_hoveredRowItem = rowItem;
        update();
    }

    EditModeState& editMode = m_services.editMode;
    if (!(event->buttons() & Qt::LeftButton))
        endLostDrag();
    if (!m_press || !(event->buttons() & Qt::LeftButton) || !editMode.isEditing())
        return;
    if (!editMode.isDragging()) {
        if (!m_press->pendingClick)
            return;
        const QPointF moved = position - m_press->location;
        if (std::hypot(moved.x(), moved.y()) <= dragThreshold)
            return;
        m_press->pendingClick = false;
        update();
        editMode.beginDrag(m_press->page, m_press->index);
    }
    editMode.updateDrag(position, geometry);
}

void DeckView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    if (m_pressedModule) {
        const BandModule pressed = *m_pressedModule;
        m_pressedModule.reset();
        const auto released = m_band.placementAt(deckGeometry().bandRect(), event->position());
        if (released && released->module == pressed)
            m_services.band.activate(pressed);
        return;
    }
    if (m_pressedRowItem) {
        const std::optional<DeckGeometry::RowItem> released =
            deckGeometry().rowItemAt(event->position(), hintTextWidth());
        const DeckGeometry::RowItem pressed = *m_pressedRowItem;
        m_pressedRowItem.reset();
        if (released && released->sameAs(pressed))
            activateRowItem(pressed);
        return;
    }
    if (!m_press)
        return;
    const Press press = *m_press;
    m_press.reset();
    update();
    EditModeState& editMode = m_services.editMode;
    if (editMode.isDragging()) {
        // The button may come up somewhere no move was reported, such as outside the deck.
        editMode.updateDrag(event->position(), deckGeometry());
        editMode.endDrag();
        return;
    }
    if (press.pendingClick)
        Q_EMIT tileActivated(press.page, press.index);
}

void DeckView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_services.editMode.isDragging()) {
        m_services.editMode.cancelDrag();
        return;
    }
    event->ignore();
}

void DeckView::leaveEvent(QEvent*)
{
    setHovered(std::nullopt);
    setHoveredModule(std::nullopt);
    if (m_hoveredRowItem) {
        m_hoveredRowItem.reset();
        update();
    }
}

void DeckView::activateRowItem(const DeckGeometry::RowItem& item)
{
    if (item.kind == DeckGeometry::RowItem::Kind::closeHint)
        m_services.starterHint.dismiss();
    else
        m_row.activate(item);
}

void DeckView::contextMenuEvent(QContextMenuEvent* event)
{
    const DeckGeometry geometry = deckGeometry();
    if (geometry.showsBand() && geometry.bandRect().contains(event->pos())) {
        const auto placement = m_band.placementAt(geometry.bandRect(), event->pos());
        const std::unique_ptr<QMenu> menu =
            m_band.menu(placement ? std::optional(placement->module) : std::nullopt, this,
                        [this] { Q_EMIT customizeBandRequested(); });
        menu->exec(event->globalPos());
        return;
    }
    const std::optional<int> index = geometry.slotAt(event->pos());
    const std::unique_ptr<QMenu> menu =
        index ? m_menus.tileMenu(m_services.store.currentPage(), *index) : m_menus.deckMenu();
    menu->exec(event->globalPos());
}

void DeckView::dragEnterEvent(QDragEnterEvent* event)
{
    // The data of a drop from another application comes over from it on each look: it is judged once.
    m_fileDropAcceptable = (event->possibleActions() & (Qt::LinkAction | Qt::CopyAction)) &&
                           FileDrop::actionFor(*event->mimeData());
    followFileDrop(*event);
}

void DeckView::dragMoveEvent(QDragMoveEvent* event)
{
    followFileDrop(*event);
}

void DeckView::dragLeaveEvent(QDragLeaveEvent*)
{
    setFileDropIndex(std::nullopt);
}

void DeckView::dropEvent(QDropEvent* event)
{
    setFileDropIndex(std::nullopt);
    const std::optional<int> index = deckGeometry().slotAt(event->position());
    const std::optional<TileAction> action = index ? FileDrop::actionFor(*event->mimeData()) : std::nullopt;
    if (!action) {
        event->ignore();
        return;
    }
    event->setDropAction(keepingAction(event->possibleActions()));
    event->accept();
    TileStore& store = m_services.store;
    const int page = store.currentPage();
    store.set(FileDrop::tileFor(store.tile(page, *index), *action), page, *index);
}

void DeckView::followFileDrop(QDropEvent& event)
{
    const std::optional<int> index = deckGeometry().slotAt(event.position());
    setFileDropIndex(m_fileDropAcceptable ? index : std::nullopt);
    if (!m_fileDropIndex) {
        event.ignore();
        return;
    }
    event.setDropAction(keepingAction(event.possibleActions()));
    event.accept();
}

void DeckView::setFileDropIndex(std::optional<int> index)
{
    if (index == m_fileDropIndex)
        return;
    m_fileDropIndex = index;
    update();
}
