#pragma once

#include "panel/ChipView.h"
#include "panel/GridView.h"

#include <QWidget>

class PanelChromeState;

// What fills the deck's window: the full deck, or in compact mode while folded the chip, both at the top
// left.
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

private:
    void showChipOrDeck();

    DeckSettings& m_settings;
    PanelChromeState& m_chrome;
    DeckView* m_deck = nullptr;
    ChipView* m_chip = nullptr;
    // Whether the deck is shown rather than the chip; visibility itself is false until the window is shown.
    bool m_showsDeck = true;
};
