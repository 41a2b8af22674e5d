#pragma once

#include "FakePanel.h"
#include "FakeReduceMotion.h"
#include "StoreFixture.h"
#include "deck/DealEngine.h"
#include "deck/DesktopPanel.h"
#include "deck/EditMode.h"
#include "deck/PanelChrome.h"
#include "model/StarterHint.h"

#include <memory>

// A panel controller on a temporary home, a fake desktop of one 1440 × 900 screen and a stopped clock.
class PanelFixture : public StoreFixture {
protected:
    std::unique_ptr<EditModeState> m_editMode;
    PanelChromeState m_chrome;
    FakePanelDesktop m_desktop;
    FakeReduceMotion m_reduceMotion;
    std::unique_ptr<DealEngine> m_deal;
    std::unique_ptr<StarterHint> m_starterHint;
    std::unique_ptr<DesktopPanelController> m_panel;

    // A new controller; the store, settings and preferences are made first when there are none yet.
    DesktopPanelController& makePanel()
    {
        if (!m_store)
            makeStore();
        m_starterHint = std::make_unique<StarterHint>(*m_preferences);
        m_editMode = std::make_unique<EditModeState>(*m_store);
        m_deal = std::make_unique<DealEngine>(DealEngine::Services{*m_settings, m_clock, m_reduceMotion});
        m_panel = std::make_unique<DesktopPanelController>(
            DesktopPanelController::Services{*m_settings, *m_preferences, *m_store, *m_editMode, m_chrome,
                                             m_desktop, m_clock, *m_starterHint, *m_deal});
        return *m_panel;
    }

    [[nodiscard]] FakePanelWindow& window() const { return *m_desktop.lastWindow; }
};
