#include "platform/ServiceRegistry.h"
#include "platform/linux/LinuxWorkspace.h"

PlatformServices createPlatformServices(const AppPaths& paths)
{
    PlatformServices services;
    services.paths = paths;
    services.clock = std::make_unique<SystemClock>();
    services.workspace = std::make_unique<LinuxWorkspace>(paths);
    return services;
}
