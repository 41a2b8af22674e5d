#include "SharedActions.h"

#include "platform/Preferences.h"
#include "platform/ServiceRegistry.h"

#include <QCoreApplication>

namespace {

struct Machinery {
    NullMusicBridge music;
    ThreadSceneQueue scenes;
    AudioOutput audio{ServiceRegistry::audio()};
    BluetoothConnector bluetooth{ServiceRegistry::bluetooth()};
    WindowSnap snap{ServiceRegistry::windows(), QCoreApplication::applicationPid()};
    SystemActions systemActions{ServiceRegistry::systemControls(), snap};
    AppActivator apps{{ServiceRegistry::workspace(), ServiceRegistry::windows(), Preferences::shared(),
                       ServiceRegistry::alerts(), platformWordings()}};
    ActionRunner runner{{ServiceRegistry::processes(), ServiceRegistry::workspace(), apps, systemActions,
                         music, audio, bluetooth, ServiceRegistry::clipboard(), scenes}};
};

Machinery& machinery()
{
    // Never destroyed: a scene may still be running on its own thread while the process quits.
    static Machinery* const created = new Machinery;
    return *created;
}

} // namespace

ActionRunner& SharedActions::runner()
{
    return machinery().runner;
}

WindowSnap& SharedActions::windowSnap()
{
    return machinery().snap;
}
