#include "actions/ActionChain.h"

ActionChain::ActionChain(const Services& services)
    : audio(services.audio)
    , bluetooth(services.bluetooth)
    , snap(services.windows, services.ownPid, services.waylandSession)
    , systemActions(services.controls, snap)
    , apps({services.workspace, services.windows, services.preferences, services.alerts, services.wordings})
    , runner({services.processes, services.workspace, apps, systemActions, services.music, audio, bluetooth,
              services.clipboard, services.scenes})
{
}
