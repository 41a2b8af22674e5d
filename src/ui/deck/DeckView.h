#pragma once

#include "deck/FrameAnimation.h"
#include "deck/PageTransition.h"
#include "deck/Spring.h"
#include "deck/TileLights.h"
#include "deck/TileTooltip.h"
#include "model/DeckGeometry.h"
#include "ui/deck/AccessoryBandView.h"
#include "ui/deck/DeckChrome.h"
#include "ui/deck/DeckMenus.h"
#include "ui/deck/PageDotsRow.h"
#include "ui/deck/PagePainter.h"
#include "ui/deck/TintFade.h"
#include "ui/paint/FractionalFont.h"
#include "ui/paint/TooltipPainter.h"

#include <QWidget>
#include <optional>
#include <vector>

class AlertPresenter;
class ApplicationNames;
class BandEngines;
class DealEngine;
class DeckSettings;
class EditModeState;
class FrameClock;
class IconFinish;
class IconResolver;
class MusicBridge;
class NowPlayingArtwork;
class PhosphorFont;
class StarterHint;
class TileStateProvider;
struct PlatformWordings;
class TileStore;

// The content of the deck window: the current page of tiles, the page dots and arrows or the starter hint
// under it, the band of live modules, and the tooltip bubble, painted by their own painters; the context
// menus are `menus()`. Everything is painted and hit-tested here, without a widget per tile; it repaints only
// when the store, the settings, edit mode, the hover tooltip, the pointer or a running animation change
// something it shows.
//
// Main thread only. `tileActivated` fires when a tile is clicked (in edit mode too: the receiver decides what
// a click means); `editTileRequested` when "Edit Tile…" is chosen. Scroll-wheel page flips belong to the
// window, not to this view. Files and addresses dropped from other applications on a tile of the page
// become its action; during a drag in edit mode the view holds the keyboard, so that Escape cancels it. A
// drag whose release never arrives (another press, a move with the button up, a loss of focus, the window
// closed by a rebuild) ends without a change.
class DeckView final : public QWidget {
    Q_OBJECT
public:
    struct Services {
        TileStore& store;
        DeckSettings& settings;
        const ApplicationNames& names;
        StarterHint& starterHint;
        EditModeState& editMode;
        TileHoverState& hover;
        IconResolver& icons;
        IconFinish& finish;
        PhosphorFont& font;
        MusicBridge& music;
        AlertPresenter& alerts;
        FrameClock& frames;
        DealEngine& deal;
        TileStateProvider& tileState;
        NowPlayingArtwork& nowPlaying;
        BandEngines& band;
        const PlatformWordings& wordings;
    };

    // How far a press may move in edit mode and still be a click.
    static constexpr double dragThreshold = 3;
    static constexpr double pressedScale = 0.93;
    static constexpr double fadeSeconds = 0.15;
    static constexpr double pressResponse = 0.22;
    static constexpr double pressDamping = 0.7;
    static constexpr double hoverResponse = 0.3;
    static constexpr double hoverDamping = 0.65;

    explicit DeckView(Services services, QWidget* parent = nullptr);
    ~DeckView() override;

    [[nodiscard]] DeckGeometry deckGeometry() const;
    // The deck's layout for these settings, pages and edit state, also before any view exists.
    [[nodiscard]] static DeckGeometry geometryFor(const DeckSettings& settings, const TileStore& store,
                                                  const StarterHint& starterHint,
                                                  const EditModeState& editMode);
    [[nodiscard]] QSize sizeHint() const override;

    // Without a compositor nothing can show through: the deck is drawn fully opaque on a dark rectangle.
    void setOpaque(bool opaque);
    [[nodiscard]] bool isOpaque() const { return m_opaque; }
    // The colour the wallpaper lends the glass, when one is known; the glass and border fade to it.
    void setWallpaperTint(const std::optional<QColor>& tint);

    [[nodiscard]] DeckMenus& menus() { return m_menus; }
    [[nodiscard]] const TooltipPainter& tooltipPainter() const { return m_tooltip; }
    // The measured width of the starter hint's text, which places its close button.
    [[nodiscard]] double hintTextWidth() const;
    [[nodiscard]] QColor borderColour() const;
    // The tooltip's opacity `elapsedSeconds` into a fade in (or out, when `appearing` is false).
    [[nodiscard]] static double fadeOpacity(double elapsedSeconds, bool appearing);
    // Whether a tile's spring, the tooltip's fade, the tint's, a deal or a page change is moving, so that
    // frames are drawn.
    [[nodiscard]] bool isAnimating() const
    {
        return m_motion.isRunning() || m_fade.isRunning() || m_tintFrames.isRunning() ||
               m_transition.isRunning() || m_lightFrames.isRunning();
    }
    // The slots of the current page whose state light shows on.
    [[nodiscard]] std::vector<int> litSlots();
    // Whether tiles are being dealt in or the pages are changing places.
    [[nodiscard]] bool isTransitioning() const { return m_transition.isRunning(); }
    // Plays the page change the settings choose, ending on the current page, which stays current.
    void previewTransition();

Q_SIGNALS:
    void tileActivated(int page, int index);
    void editTileRequested(int page, int index);
    void customizeBandRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The current page changed from `from` to `to` at `start` on the frame clock.
    struct PageChange {
        int from = 0;
        int to = 0;
        double start = 0;
        PageTransition::Style style;
    };

    struct Press {
        int page = 0;
        int index = 0;
        QPointF location;
        bool pendingClick = true;
    };

    void relayout();
    void paintDeck(QPainter& painter, const DeckGeometry& geometry);
    void paintStarterHint(QPainter& painter, const DeckGeometry& geometry);
    void paintDragGhost(QPainter& painter, const DeckGeometry& geometry);
    void followDrag();
    // Ends a drag whose release will never come, without a change.
    void endLostDrag();
    // Accepts a drop from another application over a tile of the page, lighting that tile up.
    void followFileDrop(QDropEvent& event);
    void setFileDropIndex(std::optional<int> index);
    // Points each tile's springs at what its press and hover state ask for now.
    void retargetMotion(const DeckGeometry& geometry);
    [[nodiscard]] PagePainter::State pageState(const DeckGeometry& geometry) const;
    void advanceMotion();
    void advanceFade();
    void advanceTint();
    // Heads the lights of the current page's tiles for what the tile state provider says now.
    void followLights();
    void advanceLights();
    // The wallpaper tint as drawn now; weight 0 when the glass follows no wallpaper.
    [[nodiscard]] TintFade::Look tintLook() const;
    void pageChanged(int page);
    void showPageChange(int from, int page);
    void startTransition();
    void advanceTransition();
    // Lets the deal and the page change end at once.
    void settleTransition();
    [[nodiscard]] bool transitionMoves(double now) const;
    // The part of the deck that moving tiles and pages reach: the page, and a hovered tile's shadow or a
    // page's slide beyond it.
    [[nodiscard]] QRect motionArea() const;
    // Whether pages, tiles or springs are moving, frame by frame.
    [[nodiscard]] bool isMoving() const { return m_transition.isRunning() || m_motion.isRunning(); }
    // The current page's tiles as the deal has them now, on top of their springs.
    void applyDeal(PagePainter::State& state, const DeckGeometry& geometry, const Page& page,
                   double now) const;
    void paintPages(QPainter& painter, const DeckGeometry& geometry);
    void paintPage(QPainter& painter, const DeckGeometry& geometry, const Page& page,
                   const PageTransition::PageLook& look, const PagePainter::State& state);
    void setHovered(std::optional<int> index);
    void setHoveredModule(std::optional<BandLayout::Placement> placement);
    // Runs the engines of the modules on screen, and none while the band is not.
    void syncBand();
    void bandChanged();
    void activateRowItem(const DeckGeometry::RowItem& item);
    void tipChanged();

    Services m_services;
    PagePainter m_pages;
    DeckChrome m_chrome;
    PageDotsRow m_row;
    AccessoryBandView m_band;
    TooltipPainter m_tooltip;
    DeckMenus m_menus;
    FractionalFont m_hintFont;
    bool m_opaque = false;
    TintFade m_tint;
    std::optional<int> m_hoveredIndex;
    std::optional<DeckGeometry::RowItem> m_hoveredRowItem;
    std::optional<Press> m_press;
    std::optional<DeckGeometry::RowItem> m_pressedRowItem;
    std::optional<BandModule> m_hoveredModule;
    std::optional<BandModule> m_pressedModule;
    bool m_keyboardGrabbed = false;
    // The tile under a drop from another application, while one is over the page.
    std::optional<int> m_fileDropIndex;
    bool m_fileDropAcceptable = false;
    // The tip being faded in or out; it outlives the hover state's tip while it fades away.
    std::optional<TileHoverState::Tip> m_shownTip;
    bool m_tipAppearing = false;
    double m_tipOpacity = 0;
    double m_fadeStart = 0;
    FrameAnimation m_fade;
    // Each tile's press scale and hover boost, on their springs; frames run only while one moves.
    std::vector<Spring::Value> m_pressScales;
    std::vector<Spring::Value> m_hoverBoosts;
    FrameAnimation m_motion;
    FrameAnimation m_tintFrames;
    TileLights m_lights;
    FrameAnimation m_lightFrames;
    // The page on screen, which the next page change starts from.
    int m_shownPage = 0;
    std::optional<PageChange> m_pageChange;
    // When the last deal and the last gather started on the frame clock.
    std::optional<double> m_dealStart;
    double m_gatherStart = 0;
    bool m_gatherAnimated = false;
    // Frames painted since the running deal or page change began, for the motion log.
    int m_transitionFrames = 0;
    double m_transitionStart = 0;
    FrameAnimation m_transition;
};
