#pragma once

#include "deck/FrameAnimation.h"
#include "ui/deck/ChipView.h"
#include "ui/deck/DeckView.h"

#include <QPixmap>
#include <QWidget>
#include <optional>

class PanelChromeState;

// What fills the deck's window: the full deck, or in compact mode while folded the chip, both at the top
// left, both tinted by the wallpaper when the chrome state knows its tint.
//
// Main thread only.
class PanelRootView final : public QWidget {
    Q_OBJECT
public:
    struct Services {
        DeckView::Services deck;
        PanelChromeState& chrome;
    };

    // `translucent` tells whether the desktop composites the window; without it the deck is drawn opaque.
    PanelRootView(Services services, bool translucent, QWidget* parent = nullptr);

    [[nodiscard]] DeckView& deck() { return *m_deck; }
    [[nodiscard]] ChipView& chip() { return *m_chip; }
    [[nodiscard]] QSize sizeHint() const override;

    // The switch between chip and deck: the one going shrinks and fades while the other grows in, both from
    // the top-left corner, on a spring. Frames run only during the switch.
    static constexpr double springResponse = 0.34;
    static constexpr double springDamping = 0.66;
    static constexpr double chipScaleFrom = 0.72;
    static constexpr double deckScaleFrom = 0.5;
    [[nodiscard]] bool isSwitching() const { return m_switch.has_value(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Switch {
        QPixmap outgoing;
        QPixmap incoming;
        bool toDeck = true;
        double start = 0;
    };

    void showChipOrDeck();
    // Hands the wallpaper's tint to the deck's glass and border and to the tinted chip.
    void applyTint();
    // Redraws the switch, or ends it once the spring has settled.
    void advanceSwitch();
    [[nodiscard]] double switchSeconds() const;
    void finishSwitch();
    [[nodiscard]] QWidget* shownView() const;

    DeckSettings& m_settings;
    PanelChromeState& m_chrome;
    DeckView* m_deck = nullptr;
    ChipView* m_chip = nullptr;
    // Whether the deck is shown rather than the chip; visibility itself is false until the window is shown.
    bool m_showsDeck = true;
    std::optional<Switch> m_switch;
    FrameAnimation m_frames;
};
