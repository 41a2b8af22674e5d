#include "ServiceRegistry.h"

#include <QtGlobal>

namespace {

std::unique_ptr<PlatformServices>& installed()
{
    static std::unique_ptr<PlatformServices> services;
    return services;
}

const PlatformServices& services()
{
    if (!installed())
        qFatal("Marquetto: platform services used before ServiceRegistry::install");
    return *installed();
}

} // namespace

void ServiceRegistry::install(PlatformServices services)
{
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

const Workspace& ServiceRegistry::workspace()
{
    return *services().workspace;
}
