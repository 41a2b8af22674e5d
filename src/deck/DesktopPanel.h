#pragma once

#include "platform/WindowStacking.h"
#include "platform/Windows.h"

#include <QDateTime>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

class Clock;
class DealEngine;
class DeckSettings;
class EditModeState;
class PanelChromeState;
class StarterHint;
class Preferences;
class TileStore;

// The deck's window on screen. Frames are in screen coordinates with the origin at the bottom left of the
// main screen and y growing upwards. `moved` fires after the user moved the window.
class PanelWindow : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~PanelWindow() override = default;

    [[nodiscard]] virtual QRectF frame() const = 0;
    // Moves and resizes the window and redraws it at once.
    virtual void setFrame(const QRectF& frame) = 0;
    // A change of the same window's stacking; the window is never re-created for it.
    virtual void setLevel(PanelLevel level) = 0;
    virtual void setMovableByBackground(bool movable) = 0;
    // The screen the window is on, if any.
    [[nodiscard]] virtual std::optional<Windows::Screen> screen() const = 0;
    virtual void close() = 0;

Q_SIGNALS:
    void moved();
};

// What the panel needs of the desktop: its screens, the pointer, the deck's measured size and a new window.
class PanelDesktop {
public:
    virtual ~PanelDesktop() = default;
    // Every screen, y up, in the platform's order.
    [[nodiscard]] virtual std::vector<Windows::Screen> screens() const = 0;
    [[nodiscard]] virtual std::optional<std::size_t> mainScreen() const = 0;
    [[nodiscard]] virtual QPointF pointerLocation() const = 0;
    // The full deck's size for the current settings.
    [[nodiscard]] virtual QSizeF deckFittingSize() = 0;
    // A shown window, ordered to the front without taking focus.
    [[nodiscard]] virtual std::unique_ptr<PanelWindow> createWindow(const QRectF& frame, PanelLevel level,
                                                                    bool movableByBackground) = 0;
};

// One scroll-wheel or trackpad event.
struct ScrollEvent {
    QPointF delta;                 // horizontal, vertical
    bool hasPreciseDeltas = false; // a trackpad rather than a notched wheel
    bool isMomentum = false;       // inertial scrolling after the fingers left
    bool inDeckWindow = true;
};

// The deck's window: where it sits, summoning it above other windows and sending it back, folding it into its
// chip in compact mode and unfolding it under the pointer, and flipping pages with the scroll wheel. Once
// shown, it follows the settings' compact mode and pinning by itself, whoever changes them.
//
// Main thread only. Timer handlers are public so that tests can run them; they do what the timer would.
class DesktopPanelController final : public QObject {
    Q_OBJECT
public:
    static constexpr auto frameKey = "Marquetto.panelFrame";
    static constexpr int collapseDelayMs = 500;
    static constexpr int outsideCheckIntervalMs = 400;
    static constexpr int shrinkDelayMs = 360;

    struct Services {
        DeckSettings& settings;
        Preferences& preferences;
        TileStore& store;
        EditModeState& editMode;
        PanelChromeState& chrome;
        PanelDesktop& desktop;
        const Clock& clock;
        StarterHint& starterHint;
        DealEngine& deal;
    };

    explicit DesktopPanelController(Services services, QObject* parent = nullptr);
    ~DesktopPanelController() override;

    [[nodiscard]] PanelWindow* window() const { return m_window.get(); }
    [[nodiscard]] bool isSummoned() const { return m_isSummoned; }
    [[nodiscard]] QSizeF expandedSize() const { return m_expandedSize; }
    [[nodiscard]] QSizeF chipWindowSize() const;
    // The pointer was inside the deck when the root view last reported it.
    [[nodiscard]] bool lastHoverInside() const { return m_lastHoverInside; }

    void showPanel();
    void beginSummon();
    void endSummon();
    void handleHoverChange(bool inside);
    void handleScroll(const ScrollEvent& event);
    void expand();
    void collapse();
    // After a screen came, went or changed its size: a window left off every screen is brought back onto one.
    void screensChanged();

    // Moves the window, keeping its size, to where a first start puts the full deck, and remembers that
    // place; nothing without a window.
    void resetPosition();
    [[nodiscard]] std::optional<QRectF> restoredExpandedFrame() const;
    void saveExpandedFrame();

    [[nodiscard]] bool isCollapseScheduled() const { return m_collapseTimer.isActive(); }
    [[nodiscard]] bool isOutsideCheckRunning() const { return m_outsideCheckTimer.isActive(); }
    [[nodiscard]] bool isShrinkPending() const { return m_shrinkTimer.isActive(); }
    void checkPointerOutside();
    void finishShrink();

Q_SIGNALS:
    void summonedChanged(bool summoned);
    // A new window was shown by `showPanel`; the previous one, if any, is gone.
    void windowChanged();

private:
    void setSummoned(bool summoned);
    // Folds or unfolds the shown deck after compact mode was switched.
    void applyCompactChange();
    // The deck may fold: it is unfolded in compact mode and nothing holds it open.
    [[nodiscard]] bool canFold() const;
    [[nodiscard]] bool isPointerInsideWindow() const;
    void scheduleCollapse();
    void startOutsideCheck();
    void resizeWindow(QSizeF size);
    void installObserversOnce();

    Services m_services;
    std::unique_ptr<PanelWindow> m_window;
    QDateTime m_lastPageFlip;
    bool m_isSummoned = false;
    QSizeF m_expandedSize{360, 388};
    bool m_lastHoverInside = false;
    bool m_observersInstalled = false;
    QTimer m_collapseTimer;
    QTimer m_outsideCheckTimer;
    QTimer m_shrinkTimer;
};

// The panel's placement arithmetic, apart so that it can be checked without a controller.
namespace PanelPlacement {

// The rectangle moved onto the screen `windowScreen` (or the first screen holding its centre, else the main
// one) so that it lies inside that screen's visible frame; unchanged when there is no screen at all.
[[nodiscard]] QRectF clampedToScreen(const QRectF& rect, const std::optional<Windows::Screen>& windowScreen,
                                     const std::vector<Windows::Screen>& screens,
                                     std::optional<std::size_t> mainScreen);
// The deck's place when nothing says otherwise: the full deck of `expandedSize` in the bottom right corner
// of the main screen's visible frame (a 1440 × 900 one at the origin without a main screen), a margin in from
// either edge. The answer is `windowSize` large with the same top-left corner.
[[nodiscard]] QRectF homeFrame(const std::vector<Windows::Screen>& screens,
                               std::optional<std::size_t> mainScreen, QSizeF expandedSize, QSizeF windowSize);
// The text form of a rectangle, "{{x, y}, {w, h}}", and back. Reading takes the first four numbers in order
// (missing ones are 0), whatever stands between them; text without any number gives nothing.
[[nodiscard]] QString frameText(const QRectF& rect);
[[nodiscard]] std::optional<QRectF> frameFromText(const QString& text);

} // namespace PanelPlacement
