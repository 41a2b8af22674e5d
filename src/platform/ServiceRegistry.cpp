#include "ServiceRegistry.h"

#include <QtGlobal>

namespace {

std::unique_ptr<PlatformServices>& installed()
{
    static std::unique_ptr<PlatformServices> services;
    return services;
}

PlatformServices& services()
{
    if (!installed())
        qFatal("Marquetto: platform services used before ServiceRegistry::install");
    return *installed();
}

} // namespace

void ServiceRegistry::install(PlatformServices services)
{
    if (!services.systemControls)
        qFatal("Marquetto: platform services installed without system controls");
    installed() = std::make_unique<PlatformServices>(std::move(services));
}

bool ServiceRegistry::isInstalled()
{
    return installed() != nullptr;
}

const AppPaths& ServiceRegistry::paths()
{
    return services().paths;
}

const Clock& ServiceRegistry::clock()
{
    return *services().clock;
}

ProcessRunner& ServiceRegistry::processes()
{
    return *services().processes;
}

Workspace& ServiceRegistry::workspace()
{
    return *services().workspace;
}

Windows& ServiceRegistry::windows()
{
    PlatformServices& installed = services();
    if (!installed.windows)
        installed.windows =
            installed.createWindows ? installed.createWindows() : std::make_unique<NullWindows>();
    return *installed.windows;
}

GlobalHotKeys& ServiceRegistry::hotKeys()
{
    PlatformServices& installed = services();
    if (!installed.hotKeys)
        installed.hotKeys =
            installed.createHotKeys ? installed.createHotKeys() : std::make_unique<NullGlobalHotKeys>();
    return *installed.hotKeys;
}

std::unique_ptr<WindowStacking> ServiceRegistry::createWindowStacking()
{
    const PlatformServices& installed = services();
    std::unique_ptr<WindowStacking> stacking;
    if (installed.createWindowStacking)
        stacking = installed.createWindowStacking();
    return stacking ? std::move(stacking) : std::make_unique<NullWindowStacking>();
}

AudioSystem& ServiceRegistry::audio()
{
    return *services().audio;
}

Bluetooth& ServiceRegistry::bluetooth()
{
    return *services().bluetooth;
}

SystemControls& ServiceRegistry::systemControls()
{
    return *services().systemControls;
}

ClickSound& ServiceRegistry::clickSound()
{
    return *services().clickSound;
}

Clipboard& ServiceRegistry::clipboard()
{
    return *services().clipboard;
}

AlertPresenter& ServiceRegistry::alerts()
{
    return *services().alerts;
}
