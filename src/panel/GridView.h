#pragma once

#include "panel/DeckGeometry.h"
#include "panel/Spring.h"
#include "panel/TileIconPainter.h"
#include "panel/TileTooltip.h"

#include <QElapsedTimer>
#include <QList>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class AlertPresenter;
class DeckSettings;
class EditModeState;
class IconFinish;
class IconResolver;
class PhosphorFont;
class Preferences;
class ProcessRunner;
class QAction;
class QMenu;
class TileStore;

// The content of the deck window: the current page of tiles, the page dots and arrows or the starter hint
// under it, the tooltip bubble and the deck's two context menus. Everything is painted and hit-tested here,
// without a widget per tile; it repaints only when the store, the settings, edit mode, the hover tooltip or
// the pointer change something it shows.
//
// Main thread only. `tileActivated` fires when a tile is clicked (in edit mode too: the receiver decides what
// a click means); `editTileRequested` when "Edit Tile…" is chosen. Scroll-wheel page flips belong to the
// window, not to this view.
class DeckView final : public QWidget {
    Q_OBJECT
public:
    struct Services {
        TileStore& store;
        DeckSettings& settings;
        Preferences& preferences;
        EditModeState& editMode;
        TileHoverState& hover;
        IconResolver& icons;
        IconFinish& finish;
        PhosphorFont& font;
        ProcessRunner& processes;
        AlertPresenter& alerts;
    };

    static constexpr auto starterHintKey = "starterHintPending";
    static constexpr auto starterHintText = u"⌃⌥Space brings it forward. Right-click a tile to edit it.";
    // How far a press may move in edit mode and still be a click.
    static constexpr double dragThreshold = 3;
    static constexpr double hoverBoost = 8;
    static constexpr double pressedScale = 0.93;
    static constexpr int fadeDurationMs = 150;
    static constexpr int frameIntervalMs = 16;

    explicit DeckView(Services services, QWidget* parent = nullptr);
    ~DeckView() override;

    [[nodiscard]] DeckGeometry deckGeometry() const;
    // The deck's layout for these settings, pages and edit state, also before any view exists.
    [[nodiscard]] static DeckGeometry geometryFor(const DeckSettings& settings, const TileStore& store,
                                                  const Preferences& preferences,
                                                  const EditModeState& editMode);
    [[nodiscard]] QSize sizeHint() const override;

    // Without a compositor nothing can show through: the deck is drawn fully opaque on a dark rectangle.
    void setOpaque(bool opaque);
    [[nodiscard]] bool isOpaque() const { return m_opaque; }
    // The colour the wallpaper lends the glass, when one is known.
    void setWallpaperTint(const std::optional<QColor>& tint);
    // Items appended to the deck's context menu after a separator; not owned.
    void setExtraMenuActions(const QList<QAction*>& actions) { m_extraActions = actions; }

    // The context menus, built anew for each right-click; their actions act when triggered.
    [[nodiscard]] std::unique_ptr<QMenu> tileMenu(int page, int index);
    [[nodiscard]] std::unique_ptr<QMenu> deckMenu();
    // Deletes the current page, after asking when it holds configured tiles.
    void confirmDeleteCurrentPage();
    // The measured width of the starter hint's text, which places its close button.
    [[nodiscard]] double hintTextWidth() const;

    [[nodiscard]] QColor borderColour() const;
    // The strength of an empty tile's chrome: full while hovered or editing, else following the glass.
    [[nodiscard]] double emptyChromeOpacity(double base, bool hovered) const;
    // The tooltip's opacity `elapsedMs` into a fade in (or out, when `appearing` is false).
    [[nodiscard]] static double fadeOpacity(qint64 elapsedMs, bool appearing);
    [[nodiscard]] const QTimer& fadeTimer() const { return m_fadeTimer; }
    // The fade timer's handler: samples the fade and stops the timer when it is complete.
    void advanceFade();
    static constexpr double pressResponse = 0.22;
    static constexpr double pressDamping = 0.7;
    static constexpr double hoverResponse = 0.3;
    static constexpr double hoverDamping = 0.65;
    [[nodiscard]] bool isMoving() const { return m_motionTimer.isActive(); }
    [[nodiscard]] int motionTimerInterval() const { return m_motionTimer.interval(); }
    // The motion timer's handler: redraws the moving tiles, and stops once every spring has settled.
    void advanceMotion();

Q_SIGNALS:
    void tileActivated(int page, int index);
    void editTileRequested(int page, int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Press {
        int page = 0;
        int index = 0;
        QPointF location;
        bool pendingClick = true;
    };

    void relayout();
    void paintDeck(QPainter& painter, const DeckGeometry& geometry);
    void paintTile(QPainter& painter, const DeckGeometry& geometry, int index);
    // Points each tile's springs at what its press and hover state ask for now.
    void retargetMotion(const DeckGeometry& geometry);
    [[nodiscard]] double motionSeconds() const;
    void paintRow(QPainter& painter, const DeckGeometry& geometry);
    void paintStarterHint(QPainter& painter, const DeckGeometry& geometry);
    void paintTooltip(QPainter& painter);
    void setHovered(std::optional<int> index);
    void activateRowItem(const DeckGeometry::RowItem& item);
    void tipChanged();

    Services m_services;
    TileIconPainter m_iconPainter;
    bool m_opaque = false;
    std::optional<QColor> m_tint;
    QList<QAction*> m_extraActions;
    std::optional<int> m_hoveredIndex;
    std::optional<DeckGeometry::RowItem> m_hoveredRowItem;
    std::optional<Press> m_press;
    std::optional<DeckGeometry::RowItem> m_pressedRowItem;
    // The tip being faded in or out; it outlives the hover state's tip while it fades away.
    std::optional<TileHoverState::Tip> m_shownTip;
    bool m_tipAppearing = false;
    double m_tipOpacity = 0;
    QElapsedTimer m_fadeClock;
    QTimer m_fadeTimer;
    // Each tile's press scale and hover boost, on their springs; the timer runs only while one moves.
    std::vector<Spring::Value> m_pressScales;
    std::vector<Spring::Value> m_hoverBoosts;
    QElapsedTimer m_motionClock;
    QTimer m_motionTimer;
};
