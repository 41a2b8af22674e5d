#pragma once

#include "ActionMachinery.h"
#include "FakeClickSound.h"
#include "PanelFixture.h"
#include "deck/TileActivation.h"

#include <memory>

// A shown panel with tile activation wired to an action runner of fakes. Snippet tiles show what ran in
// `clipboard().copied`.
class ActivationFixture : public PanelFixture {
protected:
    FakeClickSound m_sound;
    std::unique_ptr<ActionMachinery> m_machine;
    std::unique_ptr<TileActivation> m_activation;

    void SetUp() override
    {
        makePanel().showPanel();
        m_machine = std::make_unique<ActionMachinery>(*m_preferences);
        m_activation = std::make_unique<TileActivation>(TileActivation::Services{
            *m_store, *m_settings, *m_editMode, [this]() -> ActionRunner& { return m_machine->runner; },
            m_sound, *m_panel});
    }

    [[nodiscard]] const QStringList& copied() const { return m_machine->clipboard.copied; }
};
