#include "ui/deck/DeckView.h"

#include "actions/NowPlaying.h"
#include "actions/TileState.h"
#include "band/BandEngines.h"
#include "core/Logging.h"
#include "deck/DealEngine.h"
#include "deck/DealIn.h"
#include "deck/EditMode.h"
#include "deck/FileDrop.h"
#include "model/Settings.h"
#include "model/StarterHint.h"
#include "model/TileStore.h"
#include "platform/PlatformWordings.h"
#include "ui/deck/NowPlayingArtwork.h"
#include "ui/paint/DeckPaint.h"
#include "ui/paint/PhosphorFont.h"

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
    , m_band({services.settings, services.band, services.font, services.alerts})
    , m_menus({services.store, services.editMode, services.music, services.alerts})
    , m_hintFont(hintFontSize, QFont::Medium)
    , m_fade(services.frames, [this] { advanceFade(); })
    , m_motion(services.frames, [this] { advanceMotion(); })
    , m_tintFrames(services.frames, [this] { advanceTint(); })
    , m_lightFrames(services.frames, [this] { advanceLights(); })
    , m_shownPage(services.store.currentPage())
    , m_transition(services.frames, [this] { advanceTransition(); })
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
    connect(&store, &TileStore::pagesChanged, this, &DeckView::followLights);
    connect(&store, &TileStore::currentPageChanged, this, &DeckView::pageChanged);
    connect(&store, &TileStore::currentPageChanged, this, &DeckView::followLights);
    connect(&store, &TileStore::iconRefreshTickChanged, this, [this] {
        m_pages.clearCache();
        update();
    });

    DeckSettings& settings = m_services.settings;
    connect(&settings, &DeckSettings::gridColumnsChanged, this, &DeckView::relayout);
    connect(&settings, &DeckSettings::gridRowsChanged, this, &DeckView::relayout);
    connect(&settings, &DeckSettings::tileSizeChanged, this, &DeckView::relayout);
    connect(&settings, &DeckSettings::showBandChanged, this, &DeckView::relayout);
    connect(&settings, &DeckSettings::bandModulesChanged, this, [this] {
        syncBand();
        update();
    });
    connect(&m_services.band, &BandEngines::changed, this, &DeckView::bandChanged);
    connect(&m_services.band, &BandEngines::customizeRequested, this, &DeckView::customizeBandRequested);
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

    connect(&m_services.tileState, &TileStateProvider::changed, this, &DeckView::followLights);
    connect(&m_services.nowPlaying, &NowPlayingArtwork::imageChanged, this, [this] { update(); });
    connect(&m_services.nowPlaying.model(), &NowPlayingModel::changed, this, [this] { update(); });
    followLights();

    DealEngine& deal = m_services.deal;
    connect(&deal, &DealEngine::generationChanged, this, [this] {
        m_dealStart = m_transition.now();
        startTransition();
    });
    connect(&deal, &DealEngine::gatheredChanged, this, [this](bool, bool animated) {
        m_gatherStart = m_transition.now();
        m_gatherAnimated = animated;
        startTransition();
    });
    connect(&deal, &DealEngine::reduceMotionChanged, this, [this](bool on) {
        if (on)
            settleTransition();
    });
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

void DeckView::followLights()
{
    const TileStore& store = m_services.store;
    QHash<QUuid, std::optional<bool>> answers;
    if (const int current = store.currentPage();
        current >= 0 && current < static_cast<int>(store.pages().size()))
        for (const Tile& tile : store.pages()[static_cast<std::size_t>(current)])
            answers.insert(tile.id, m_services.tileState.isActive(tile.action));
    m_lights.follow(answers, m_lightFrames.now());
    if (!m_lights.isSettled(m_lightFrames.now()))
        m_lightFrames.start();
    update();
}

void DeckView::advanceLights()
{
    if (m_lights.isSettled(m_lightFrames.now()))
        m_lightFrames.stop();
    update();
}

std::vector<int> DeckView::litSlots()
{
    const TileStore& store = m_services.store;
    std::vector<int> lit;
    const int current = store.currentPage();
    if (current < 0 || current >= static_cast<int>(store.pages().size()))
        return lit;
    const Page& page = store.pages()[static_cast<std::size_t>(current)];
    for (std::size_t slot = 0; slot < page.size(); ++slot)
        if (m_services.tileState.isActive(page[slot].action) == true &&
            m_pages.icons().showsLight(page[slot]))
            lit.push_back(static_cast<int>(slot));
    return lit;
}

TintFade::Look DeckView::tintLook() const
{
    if (!m_services.settings.chameleonGlass())
        return {};
    return m_tint.at(m_tintFrames.now());
}

void DeckView::relayout()
{
    // The pages or the grid changed under a running page change: the new page simply shows.
    m_pageChange.reset();
    updateGeometry();
    update();
    syncBand();
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

void DeckView::syncBand()
{
    const DeckGeometry geometry = deckGeometry();
    if (!isVisible() || !geometry.showsBand()) {
        m_services.band.hide();
        return;
    }
    QList<BandModule> visible;
    for (const BandLayout::Placement& placement : m_band.placements(geometry.bandRect()))
        visible << placement.module;
    m_services.band.show(visible);
}

void DeckView::bandChanged()
{
    const DeckGeometry geometry = deckGeometry();
    // The clock ticks every second; most seconds change nothing on screen.
    if (geometry.showsBand() && m_band.facesChanged(geometry.bandRect()))
        update(geometry.bandRect().toAlignedRect());
}

void DeckView::showEvent(QShowEvent*)
{
    syncBand();
}

void DeckView::hideEvent(QHideEvent*)
{
    // The deck's window is closed when the panel is rebuilt; a drag must not outlive it.
    endLostDrag();
    m_services.band.hide();
}

void DeckView::focusOutEvent(QFocusEvent*)
{
    endLostDrag();
}

void DeckView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        endLostDrag();
    QWidget::changeEvent(event);
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
        (rowItem && !sameItem(*rowItem, *m_hoveredRowItem))) {
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
