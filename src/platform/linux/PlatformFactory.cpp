#include "platform/ServiceRegistry.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/macos/MacSystemControls.h"

PlatformServices createPlatformServices(const AppPaths& paths)
{
    PlatformServices services;
    services.paths = paths;
    services.workspace = std::make_unique<LinuxWorkspace>(paths, *services.processes);
    services.systemControls = std::make_unique<MacSystemControls>(*services.processes);
    return services;
}
