#include "deck/TileActivation.h"

#include "actions/ActionRunner.h"
#include "deck/DesktopPanel.h"
#include "deck/EditMode.h"
#include "model/Settings.h"
#include "model/TileStore.h"
#include "platform/ClickSound.h"

TileActivation::TileActivation(Services services, QObject* parent)
    : QObject(parent)
    , m_services(services)
{
}

void TileActivation::activate(int page, int index)
{
    if (m_services.editMode.isEditing() || m_services.store.tile(page, index).isEmpty()) {
        Q_EMIT editorRequested(page, index);
        return;
    }
    if (m_services.settings.clickSoundEnabled())
        m_services.clickSound.play(clickVolume);
    run(page, index);
}

bool TileActivation::run(int page, int index)
{
    const Tile tile = m_services.store.tile(page, index);
    if (!tile.action || !m_services.mayRun(tile))
        return false;
    m_services.runner().execute(*tile.action);
    m_services.panel.endSummon();
    Q_EMIT actionRan();
    return true;
}
