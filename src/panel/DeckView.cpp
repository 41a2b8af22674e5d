#include "panel/DeckView.h"

#include "editing/PhosphorFont.h"
#include "model/Settings.h"
#include "model/StarterHint.h"
#include "model/TileStore.h"
#include "panel/DeckPaint.h"
#include "panel/EditMode.h"
#include "panel/FileDrop.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr double hintFontSize = 10.5;

bool sameItem(const DeckGeometry::RowItem& one, const DeckGeometry::RowItem& other)
{
    return one.kind == other.kind && one.page == other.page;
}

// A spring that has settled is exactly at its target, which the icon painter's size classes rely on.
double settledAt(const Spring::Value& value, double now)
{
    return value.isSettled(now) ? value.target() : value.at(now);
}

// Linking or copying leaves a dropped file where it is; a move would let the file manager delete it.
Qt::DropAction keepingAction(Qt::DropActions possible)
{
    return possible & Qt::LinkAction ? Qt::LinkAction : Qt::CopyAction;
}

} // namespace

DeckView::DeckView(Services services, QWidget* parent)
    : QWidget(parent)
    , m_services(services)
    , m_pages({services.icons, services.finish, services.font})
    , m_row({services.store, services.editMode, services.font})
    , m_menus({services.store, services.editMode, services.music, services.alerts})
    , m_hintFont(hintFontSize, QFont::Medium)
    , m_fade(services.frames, [this] { advanceFade(); })
    , m_motion(services.frames, [this] { advanceMotion(); })
    , m_tintFrames(services.frames, [this] { advanceTint(); })
{
    setMouseTracking(true);
    setAcceptDrops(true);
    // The deck is a rounded shape: what lies outside it stays the window's transparent background.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    m_services.font.ensureLoaded();
    connect(&m_menus, &DeckMenus::editTileRequested, this, &DeckView::editTileRequested);

    TileStore& store = m_services.store;
    connect(&store, &TileStore::pagesChanged, this, &DeckView::relayout);
    connect(&store, &TileStore::currentPageChanged, this, [this] { update(); });
    connect(&store, &TileStore::iconRefreshTickChanged, this, [this] {
        m_pages.icons().clearCache();
        update();
    });

    DeckSettings& settings = m_services.settings;
    connect(&settings, &DeckSettings::gridColumnsChanged, this, &DeckView::relayout);
    connect(&settings, &DeckSettings::gridRowsChanged, this, &DeckView::relayout);
    connect(&settings, &DeckSettings::tileSizeChanged, this, &DeckView::relayout);
    connect(&settings, &DeckSettings::backgroundOpacityChanged, this, [this] { update(); });
    connect(&settings, &DeckSettings::chameleonGlassChanged, this, [this] { update(); });
    connect(&m_services.starterHint, &StarterHint::pendingChanged, this, [this] { update(); });

    EditModeState& editMode = m_services.editMode;
    connect(&editMode, &EditModeState::editingChanged, this, [this](bool editing) {
        if (editing) {
            m_services.hover.clear();
            m_services.starterHint.dismiss();
        }
        relayout();
    });
    connect(&editMode, &EditModeState::dragChanged, this, &DeckView::followDrag);
    connect(&m_services.hover, &TileHoverState::tipChanged, this, &DeckView::tipChanged);
}

DeckView::~DeckView() = default;

DeckGeometry DeckView::deckGeometry() const
{
    return geometryFor(m_services.settings, m_services.store, m_services.starterHint, m_services.editMode);
}

DeckGeometry DeckView::geometryFor(const DeckSettings& settings, const TileStore& store,
                                   const StarterHint& starterHint, const EditModeState& editMode)
{
    return {settings, static_cast<int>(store.pages().size()), editMode.isEditing(), starterHint.isPending()};
}

QSize DeckView::sizeHint() const
{
    const QSizeF size = deckGeometry().size();
    return {static_cast<int>(std::ceil(size.width())), static_cast<int>(std::ceil(size.height()))};
}

void DeckView::setOpaque(bool opaque)
{
    if (opaque == m_opaque)
        return;
    m_opaque = opaque;
    update();
}

void DeckView::setWallpaperTint(const std::optional<QColor>& tint)
{
    if (tint == m_tint.target())
        return;
    m_tint.retarget(tint, m_tintFrames.now());
    m_tintFrames.start();
    update();
}

void DeckView::advanceTint()
{
    if (m_tint.isSettled(m_tintFrames.now()))
        m_tintFrames.stop();
    update();
}

TintFade::Look DeckView::tintLook() const
{
    if (!m_services.settings.chameleonGlass())
        return {};
    return m_tint.at(m_tintFrames.now());
}

void DeckView::relayout()
{
    updateGeometry();
    update();
}

QColor DeckView::borderColour() const
{
    const double opacity = m_services.settings.backgroundOpacity();
    if (m_services.editMode.isEditing())
        return DeckPaint::white(0.18);
    const TintFade::Look tint = tintLook();
    if (tint.weight <= 0)
        return DeckPaint::white(0.1 * opacity);
    const auto mix = [&tint](double untinted, double tinted) {
        return static_cast<float>(untinted + (tinted - untinted) * tint.weight);
    };
    return QColor::fromRgbF(mix(1, tint.colour.redF()), mix(1, tint.colour.greenF()),
                            mix(1, tint.colour.blueF()), mix(0.1 * opacity, 0.45 * opacity));
}

double DeckView::fadeOpacity(double elapsedSeconds, bool appearing)
{
    const double progress = std::clamp(elapsedSeconds / fadeSeconds, 0.0, 1.0);
    // Ease out: the bubble is there almost at once and settles softly.
    const double eased = 1 - (1 - progress) * (1 - progress);
    return appearing ? eased : 1 - eased;
}

void DeckView::tipChanged()
{
    const std::optional<TileHoverState::Tip>& tip = m_services.hover.tip();
    if (tip) {
        m_shownTip = tip;
        m_tipAppearing = true;
    } else if (m_shownTip) {
        m_tipAppearing = false;
    } else {
        return;
    }
    m_fadeStart = m_fade.now();
    m_fade.start();
    advanceFade();
}

void DeckView::advanceFade()
{
    const double elapsed = m_fade.now() - m_fadeStart;
    m_tipOpacity = fadeOpacity(elapsed, m_tipAppearing);
    if (elapsed >= fadeSeconds) {
        m_fade.stop();
        if (!m_tipAppearing)
            m_shownTip.reset();
    }
    update();
}

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
    update();
}

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
    const double now = m_motion.now();
    state.motion.reserve(static_cast<std::size_t>(geometry.tilesPerPage()));
    for (std::size_t index = 0; index < m_pressScales.size(); ++index)
        state.motion.push_back({settledAt(m_pressScales[index], now), settledAt(m_hoverBoosts[index], now)});
    return state;
}

void DeckView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    const DeckGeometry geometry = deckGeometry();
    // Every change of press or hover repaints; the springs take their new targets here.
    retargetMotion(geometry);
    paintDeck(painter, geometry);
    const TileStore& store = m_services.store;
    const auto current = static_cast<std::size_t>(store.currentPage());
    if (current < store.pages().size())
        m_pages.paint(painter, QTransform(), geometry, store.pages()[current], pageState(geometry));
    if (geometry.showsStarterHint())
        paintStarterHint(painter, geometry);
    else
        m_row.paint(painter, geometry, m_hoveredRowItem);
    paintDragGhost(painter, geometry);
    if (m_shownTip)
        m_tooltip.paint(painter, *m_shownTip, m_tipOpacity, m_services.settings);
}

void DeckView::paintDeck(QPainter& painter, const DeckGeometry& geometry)
{
    const QRectF deck(QPointF(0, 0), geometry.size());
    const QPainterPath shape = DeckPaint::roundedRect(deck, DeckGeometry::deckRadius);
    const QColor base(24, 24, 28);
    if (m_opaque) {
        painter.fillRect(rect(), QColor(12, 12, 14));
        painter.fillPath(shape, base);
    } else {
        // No glass to blur the desktop behind: a dark veil as strong as the glass would be.
        QColor veil = base;
        veil.setAlphaF(static_cast<float>(0.25 + 0.6 * m_services.settings.backgroundOpacity()));
        painter.fillPath(shape, veil);
    }
    if (const TintFade::Look tint = tintLook(); tint.weight > 0) {
        QColor wash = tint.colour;
        wash.setAlphaF(static_cast<float>(0.4 * tint.weight));
        painter.fillPath(shape, wash);
    }
    painter.strokePath(
        DeckPaint::roundedRect(deck.adjusted(0.5, 0.5, -0.5, -0.5), DeckGeometry::deckRadius - 0.5),
        QPen(borderColour(), 1));
}

double DeckView::hintTextWidth() const
{
    return std::ceil(m_hintFont.horizontalAdvance(QString::fromUtf16(starterHintText)));
}

void DeckView::paintStarterHint(QPainter& painter, const DeckGeometry& geometry)
{
    const double width = hintTextWidth();
    painter.setPen(DeckPaint::white(0.75));
    m_hintFont.draw(painter, geometry.hintTextRect(width), Qt::AlignCenter,
                    QString::fromUtf16(starterHintText));
    const DeckGeometry::RowItem close = geometry.hintClose(width);
    const bool hovered = m_hoveredRowItem && sameItem(*m_hoveredRowItem, close);
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

void DeckView::mousePressEvent(QMouseEvent* event)
{
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
    m_pressedRowItem = geometry.rowItemAt(position, hintTextWidth());
    if (!m_pressedRowItem)
        event->ignore();
}

void DeckView::mouseMoveEvent(QMouseEvent* event)
{
    const DeckGeometry geometry = deckGeometry();
    const QPointF position = event->position();
    setHovered(geometry.slotAt(position));
    const std::optional<DeckGeometry::RowItem> rowItem = geometry.rowItemAt(position, hintTextWidth());
    if (rowItem.has_value() != m_hoveredRowItem.has_value() ||
        (rowItem && !sameItem(*rowItem, *m_hoveredRowItem))) {
        m_hoveredRowItem = rowItem;
        update();
    }

    EditModeState& editMode = m_services.editMode;
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
    if (m_pressedRowItem) {
        const std::optional<DeckGeometry::RowItem> released =
            deckGeometry().rowItemAt(event->position(), hintTextWidth());
        const DeckGeometry::RowItem pressed = *m_pressedRowItem;
        m_pressedRowItem.reset();
        if (released && sameItem(*released, pressed))
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
    const std::optional<int> index = deckGeometry().slotAt(event->pos());
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
