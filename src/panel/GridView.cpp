#include "panel/GridView.h"

#include "core/ProcessRunner.h"
#include "editing/PhosphorFont.h"
#include "editing/SymbolGlyphs.h"
#include "model/Settings.h"
#include "model/TileStore.h"
#include "panel/EditMode.h"
#include "platform/AlertPresenter.h"
#include "platform/Preferences.h"

#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace {

constexpr double tileCornerRadius = 18;
constexpr double tooltipRadius = 6;
const QString osascript = QStringLiteral("/usr/bin/osascript");

QColor white(double alpha)
{
    return QColor::fromRgbF(1, 1, 1, static_cast<float>(std::clamp(alpha, 0.0, 1.0)));
}

QFont textFont(double pixels, QFont::Weight weight)
{
    QFont font;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    font.setWeight(weight);
    return font;
}

QFont tooltipFont()
{
    return textFont(TileTooltipLayout::fontSize, QFont::Normal);
}

QFont hintFont()
{
    return textFont(10.5, QFont::Medium);
}

QPainterPath roundedRect(const QRectF& rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

void drawSymbol(QPainter& painter, PhosphorFont& font, const QRectF& rect, const QString& symbol,
                double pixels, const QColor& colour)
{
    painter.setFont(TileIconPainter::iconFont(pixels));
    painter.setPen(colour);
    painter.drawText(rect, Qt::AlignCenter, SymbolGlyphs::text(font, symbol));
}

// An action of the menu that runs `run` in the context of `context`.
template <typename Function>
QAction* addMenuAction(QMenu& menu, const QString& title, const QObject* context, Function run)
{
    QAction* action = menu.addAction(title);
    QObject::connect(action, &QAction::triggered, context, run);
    return action;
}

bool sameItem(const DeckGeometry::RowItem& one, const DeckGeometry::RowItem& other)
{
    return one.kind == other.kind && one.page == other.page;
}

} // namespace

DeckView::DeckView(Services services, QWidget* parent)
    : QWidget(parent)
    , m_services(services)
    , m_iconPainter({services.icons, services.finish, services.font})
{
    setMouseTracking(true);
    // The deck is a rounded shape: what lies outside it stays the window's transparent background.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    m_fadeTimer.setInterval(frameIntervalMs);
    connect(&m_fadeTimer, &QTimer::timeout, this, &DeckView::advanceFade);
    m_motionTimer.setInterval(frameIntervalMs);
    connect(&m_motionTimer, &QTimer::timeout, this, &DeckView::advanceMotion);
    m_motionClock.start();
    m_services.font.ensureLoaded();

    TileStore& store = m_services.store;
    connect(&store, &TileStore::pagesChanged, this, &DeckView::relayout);
    connect(&store, &TileStore::currentPageChanged, this, [this] { update(); });
    connect(&store, &TileStore::iconRefreshTickChanged, this, [this] {
        m_iconPainter.clearCache();
        update();
    });

    DeckSettings& settings = m_services.settings;
    connect(&settings, &DeckSettings::gridColumnsChanged, this, &DeckView::relayout);
    connect(&settings, &DeckSettings::gridRowsChanged, this, &DeckView::relayout);
    connect(&settings, &DeckSettings::tileSizeChanged, this, &DeckView::relayout);
    connect(&settings, &DeckSettings::backgroundOpacityChanged, this, [this] { update(); });
    connect(&settings, &DeckSettings::chameleonGlassChanged, this, [this] { update(); });

    connect(&m_services.preferences, &Preferences::valueChanged, this, [this](const QString& key) {
        if (key == QLatin1String(starterHintKey))
            update();
    });

    EditModeState& editMode = m_services.editMode;
    connect(&editMode, &EditModeState::editingChanged, this, [this](bool editing) {
        if (editing) {
            m_services.hover.clear();
            if (m_services.preferences.boolValue(QLatin1String(starterHintKey)).value_or(false))
                m_services.preferences.setValue(QLatin1String(starterHintKey), false);
        }
        relayout();
    });
    connect(&editMode, &EditModeState::dragChanged, this, [this] { update(); });
    connect(&m_services.hover, &TileHoverState::tipChanged, this, &DeckView::tipChanged);
}

DeckView::~DeckView() = default;

DeckGeometry DeckView::deckGeometry() const
{
    return geometryFor(m_services.settings, m_services.store, m_services.preferences, m_services.editMode);
}

DeckGeometry DeckView::geometryFor(const DeckSettings& settings, const TileStore& store,
                                   const Preferences& preferences, const EditModeState& editMode)
{
    const bool hint = preferences.boolValue(QLatin1String(starterHintKey)).value_or(false);
    return {settings, static_cast<int>(store.pages().size()), editMode.isEditing(), hint};
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
    if (tint == m_tint)
        return;
    m_tint = tint;
    update();
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
        return white(0.18);
    if (m_services.settings.chameleonGlass() && m_tint) {
        QColor tint = *m_tint;
        tint.setAlphaF(static_cast<float>(0.45 * opacity));
        return tint;
    }
    return white(0.1 * opacity);
}

double DeckView::emptyChromeOpacity(double base, bool hovered) const
{
    if (hovered || m_services.editMode.isEditing())
        return base;
    return base * m_services.settings.backgroundOpacity();
}

double DeckView::fadeOpacity(qint64 elapsedMs, bool appearing)
{
    const double progress = std::clamp(static_cast<double>(elapsedMs) / fadeDurationMs, 0.0, 1.0);
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
    m_fadeClock.start();
    m_fadeTimer.start();
    advanceFade();
}

void DeckView::advanceFade()
{
    const qint64 elapsed = m_fadeClock.isValid() ? m_fadeClock.elapsed() : fadeDurationMs;
    m_tipOpacity = fadeOpacity(elapsed, m_tipAppearing);
    if (elapsed >= fadeDurationMs) {
        m_fadeTimer.stop();
        if (!m_tipAppearing)
            m_shownTip.reset();
    }
    update();
}

double DeckView::motionSeconds() const
{
    return static_cast<double>(m_motionClock.elapsed()) / 1000;
}

void DeckView::retargetMotion(const DeckGeometry& geometry)
{
    const auto tiles = static_cast<std::size_t>(geometry.tilesPerPage());
    if (m_pressScales.size() != tiles) {
        m_pressScales.assign(tiles, Spring::Value(1, pressResponse, pressDamping));
        m_hoverBoosts.assign(tiles, Spring::Value(0, hoverResponse, hoverDamping));
    }
    const double now = motionSeconds();
    const bool editing = m_services.editMode.isEditing();
    bool moving = false;
    for (std::size_t index = 0; index < tiles; ++index) {
        const bool hovered = m_hoveredIndex == static_cast<int>(index);
        const bool pressed =
            hovered && m_press && m_press->index == static_cast<int>(index) && m_press->pendingClick;
        m_pressScales[index].retarget(pressed ? pressedScale : 1, now);
        m_hoverBoosts[index].retarget(hovered && !editing ? hoverBoost : 0, now);
        moving = moving || !m_pressScales[index].isSettled(now) || !m_hoverBoosts[index].isSettled(now);
    }
    if (moving && !m_motionTimer.isActive())
        m_motionTimer.start();
}

void DeckView::advanceMotion()
{
    const double now = motionSeconds();
    const auto settled = [now](const Spring::Value& value) { return value.isSettled(now); };
    if (std::all_of(m_pressScales.begin(), m_pressScales.end(), settled) &&
        std::all_of(m_hoverBoosts.begin(), m_hoverBoosts.end(), settled))
        m_motionTimer.stop();
    update();
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
    for (int index = 0; index < geometry.tilesPerPage(); ++index)
        paintTile(painter, geometry, index);
    if (geometry.showsStarterHint())
        paintStarterHint(painter, geometry);
    else
        paintRow(painter, geometry);
    paintTooltip(painter);
}

void DeckView::paintDeck(QPainter& painter, const DeckGeometry& geometry)
{
    const QRectF deck(QPointF(0, 0), geometry.size());
    const QPainterPath shape = roundedRect(deck, DeckGeometry::deckRadius);
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
    if (m_services.settings.chameleonGlass() && m_tint) {
        QColor tint = *m_tint;
        tint.setAlphaF(0.4f);
        painter.fillPath(shape, tint);
    }
    painter.strokePath(roundedRect(deck.adjusted(0.5, 0.5, -0.5, -0.5), DeckGeometry::deckRadius - 0.5),
                       QPen(borderColour(), 1));
}

void DeckView::paintTile(QPainter& painter, const DeckGeometry& geometry, int index)
{
    const int page = m_services.store.currentPage();
    const Tile tile = m_services.store.tile(page, index);
    const EditModeState& editMode = m_services.editMode;
    const bool editing = editMode.isEditing();
    const bool hovered = m_hoveredIndex == index;
    const auto slot = static_cast<std::size_t>(index);
    const double scale = m_pressScales[slot].at(motionSeconds());
    const bool dragSource = editMode.dragSourcePage() == page && editMode.dragSourceIndex() == index;
    const bool dropTarget = editMode.isDragging() && editMode.dropTargetIndex() == index;
    const double unit = geometry.unit();

    painter.save();
    QRectF face = geometry.slotRect(index);
    if (scale != 1) {
        painter.translate(face.center());
        painter.scale(scale, scale);
        painter.translate(-face.center());
    }
    if (dragSource)
        painter.setOpacity(0.25);

    const double radius = tileCornerRadius * unit;
    if (dropTarget || editing)
        painter.fillPath(roundedRect(face, radius), white(dropTarget ? 0.15 : 0.06));
    const QRectF outline = face.adjusted(0.5, 0.5, -0.5, -0.5);
    if (tile.isEmpty()) {
        QPen dashed(white(emptyChromeOpacity(0.18, hovered)), 1);
        dashed.setDashPattern({5, 4});
        painter.strokePath(roundedRect(outline, radius - 0.5), dashed);
    } else if (editing) {
        painter.strokePath(roundedRect(outline, radius - 0.5), QPen(white(0.12), 1));
    }

    m_iconPainter.paint(painter, tile, face, unit, m_hoverBoosts[slot].at(motionSeconds()),
                        emptyChromeOpacity(0.35, hovered));
    painter.restore();
}

void DeckView::paintRow(QPainter& painter, const DeckGeometry& geometry)
{
    const TileStore& store = m_services.store;
    const int current = store.currentPage();
    const int last = static_cast<int>(store.pages().size()) - 1;
    for (const DeckGeometry::RowItem& item : geometry.rowItems()) {
        const bool hovered = m_hoveredRowItem && sameItem(*m_hoveredRowItem, item);
        switch (item.kind) {
        case DeckGeometry::RowItem::Kind::previousPage:
        case DeckGeometry::RowItem::Kind::nextPage: {
            const bool previous = item.kind == DeckGeometry::RowItem::Kind::previousPage;
            const bool enabled = previous ? current > 0 : current < last;
            const double alpha = !enabled ? 0.15 : hovered ? 0.95 : 0.55;
            drawSymbol(painter, m_services.font, item.rect,
                       previous ? QStringLiteral("chevron.left") : QStringLiteral("chevron.right"), 11,
                       white(alpha));
            break;
        }
        case DeckGeometry::RowItem::Kind::pageDot: {
            const double radius = DeckGeometry::dotDiameter / 2;
            painter.setPen(Qt::NoPen);
            painter.setBrush(white(item.page == current ? 0.9 : 0.3));
            painter.drawEllipse(item.rect.center(), radius, radius);
            break;
        }
        case DeckGeometry::RowItem::Kind::addPage:
            drawSymbol(painter, m_services.font, item.rect, QStringLiteral("plus"), 9,
                       white(hovered ? 0.9 : 0.35));
            break;
        case DeckGeometry::RowItem::Kind::done:
            painter.fillPath(roundedRect(item.rect, item.rect.height() / 2), white(0.18));
            painter.setFont(textFont(10, QFont::DemiBold));
            painter.setPen(white(0.9));
            painter.drawText(item.rect, Qt::AlignCenter, QStringLiteral("Done"));
            break;
        case DeckGeometry::RowItem::Kind::closeHint:
            break;
        }
    }
}

double DeckView::hintTextWidth() const
{
    return std::ceil(QFontMetricsF(hintFont()).horizontalAdvance(QString::fromUtf16(starterHintText)));
}

void DeckView::paintStarterHint(QPainter& painter, const DeckGeometry& geometry)
{
    const double width = hintTextWidth();
    painter.setFont(hintFont());
    painter.setPen(white(0.75));
    painter.drawText(geometry.hintTextRect(width), Qt::AlignCenter, QString::fromUtf16(starterHintText));
    const DeckGeometry::RowItem close = geometry.hintClose(width);
    const bool hovered = m_hoveredRowItem && sameItem(*m_hoveredRowItem, close);
    drawSymbol(painter, m_services.font, close.rect, QStringLiteral("xmark"), 9, white(hovered ? 0.9 : 0.45));
}

void DeckView::paintTooltip(QPainter& painter)
{
    if (!m_shownTip || m_tipOpacity <= 0)
        return;
    const QFont font = tooltipFont();
    const QFontMetricsF metrics(font);
    const QSizeF measured(metrics.horizontalAdvance(m_shownTip->text), metrics.height());
    const QSizeF size = TileTooltipLayout::size(measured);
    const QRectF bubble(TileTooltipLayout::placement(m_shownTip->anchor, size, m_services.settings), size);

    painter.save();
    painter.setOpacity(m_tipOpacity);
    painter.fillPath(roundedRect(bubble.translated(0, 2), tooltipRadius), QColor::fromRgbF(0, 0, 0, 0.3f));
    painter.fillPath(roundedRect(bubble, tooltipRadius), QColor(44, 44, 48, 240));
    painter.strokePath(roundedRect(bubble.adjusted(0.5, 0.5, -0.5, -0.5), tooltipRadius - 0.5),
                       QPen(white(0.12), 1));
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QRectF text = bubble.adjusted(8, 5, -8, -5);
    const QString elided = metrics.elidedText(m_shownTip->text, Qt::ElideRight, text.width() * 2);
    painter.drawText(text, Qt::AlignCenter | Qt::TextWordWrap, elided);
    painter.restore();
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
    const std::optional<QString> text = tile.tooltipText();
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
    editMode.updateDrag(position, QSizeF(size()));
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
        editMode.endDrag();
        return;
    }
    if (press.pendingClick)
        Q_EMIT tileActivated(press.page, press.index);
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
    TileStore& store = m_services.store;
    switch (item.kind) {
    case DeckGeometry::RowItem::Kind::previousPage:
        if (store.currentPage() > 0)
            store.goToPage(store.currentPage() - 1);
        break;
    case DeckGeometry::RowItem::Kind::nextPage:
        if (store.currentPage() + 1 < static_cast<int>(store.pages().size()))
            store.goToPage(store.currentPage() + 1);
        break;
    case DeckGeometry::RowItem::Kind::pageDot:
        store.goToPage(item.page);
        break;
    case DeckGeometry::RowItem::Kind::addPage:
        store.addPage();
        break;
    case DeckGeometry::RowItem::Kind::done:
        m_services.editMode.setEditing(false);
        break;
    case DeckGeometry::RowItem::Kind::closeHint:
        m_services.preferences.setValue(QLatin1String(starterHintKey), false);
        break;
    }
}

void DeckView::contextMenuEvent(QContextMenuEvent* event)
{
    const std::optional<int> index = deckGeometry().slotAt(event->pos());
    const std::unique_ptr<QMenu> menu = index ? tileMenu(m_services.store.currentPage(), *index) : deckMenu();
    menu->exec(event->globalPos());
}

std::unique_ptr<QMenu> DeckView::tileMenu(int page, int index)
{
    auto menu = std::make_unique<QMenu>();
    const Tile tile = m_services.store.tile(page, index);
    if (tile.action && tile.action->as<TileAction::NowPlaying>()) {
        ProcessRunner& processes = m_services.processes;
        const auto transport = [&processes](const QString& command) {
            processes.fireAndForget(osascript, {QStringLiteral("-e"),
                                                QStringLiteral("tell application \"Music\" to ") + command});
        };
        addMenuAction(*menu, QStringLiteral("Next Track"), menu.get(),
                      [transport] { transport(QStringLiteral("next track")); });
        addMenuAction(*menu, QStringLiteral("Previous Track"), menu.get(),
                      [transport] { transport(QStringLiteral("previous track")); });
        menu->addSeparator();
    }
    addMenuAction(*menu, QStringLiteral("Edit Tile…"), this,
                  [this, page, index] { Q_EMIT editTileRequested(page, index); });
    if (!tile.isEmpty()) {
        addMenuAction(*menu, QStringLiteral("Clear Tile"), this,
                      [this, page, index] { m_services.store.set(Tile{}, page, index); });
    }
    return menu;
}

std::unique_ptr<QMenu> DeckView::deckMenu()
{
    auto menu = std::make_unique<QMenu>();
    TileStore& store = m_services.store;
    EditModeState& editMode = m_services.editMode;
    const bool editing = editMode.isEditing();
    addMenuAction(*menu, editing ? QStringLiteral("Done Editing") : QStringLiteral("Edit Layout"), this,
                  [&editMode, editing] { editMode.setEditing(!editing); });
    menu->addSeparator();
    addMenuAction(*menu, QStringLiteral("Add Page"), this, [&store] { store.addPage(); });

    const int pageCount = static_cast<int>(store.pages().size());
    QMenu* moveTo = menu->addMenu(QStringLiteral("Move Page To"));
    moveTo->setEnabled(pageCount > 1);
    for (int position = 0; position < pageCount; ++position) {
        QAction* entry = addMenuAction(*moveTo, QStringLiteral("Position %1").arg(position + 1), this,
                                       [&store, position] { store.movePage(store.currentPage(), position); });
        entry->setEnabled(position != store.currentPage());
    }
    QAction* remove = addMenuAction(*menu, QStringLiteral("Delete This Page"), this,
                                    [this] { confirmDeleteCurrentPage(); });
    remove->setEnabled(pageCount > 1);

    if (!m_extraActions.isEmpty()) {
        menu->addSeparator();
        menu->addActions(m_extraActions);
    }
    return menu;
}

void DeckView::confirmDeleteCurrentPage()
{
    TileStore& store = m_services.store;
    const int page = store.currentPage();
    int configured = 0;
    for (int index = 0; index < deckGeometry().tilesPerPage(); ++index)
        configured += store.tile(page, index).isEmpty() ? 0 : 1;
    if (configured > 0) {
        const Alert alert{
            QStringLiteral("Delete this page?"),
            QStringLiteral("It has %1 configured tile%2. This can't be undone.")
                .arg(configured)
                .arg(configured == 1 ? QString() : QStringLiteral("s")),
            {QStringLiteral("Delete"), QStringLiteral("Cancel")},
        };
        if (m_services.alerts.present(alert) != 0)
            return;
    }
    store.deleteCurrentPage();
}
