#include "ui/deck/DeckView.h"

#include "actions/NowPlaying.h"
#include "actions/TileState.h"
#include "band/BandEngines.h"
#include "deck/DealEngine.h"
#include "deck/EditMode.h"
#include "model/Settings.h"
#include "model/StarterHint.h"
#include "model/TileStore.h"
#include "ui/deck/NowPlayingArtwork.h"
#include "ui/paint/DeckPaint.h"
#include "ui/paint/PhosphorFont.h"

#include <QEvent>
#include <algorithm>
#include <cmath>

namespace {

constexpr double hintFontSize = 10.5;

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

void DeckView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        endLostDrag();
    QWidget::changeEvent(event);
}
