#pragma once

#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/Workspace.h"

#include <memory>

// The platform implementations this process runs with. Built once by the platform's factory at start-up and
// handed to the registry; a service the desktop lacks is a null implementation, never a null pointer.
struct PlatformServices {
    AppPaths paths;
    std::unique_ptr<Clock> clock = std::make_unique<SystemClock>();
    std::unique_ptr<Workspace> workspace = std::make_unique<NullWorkspace>();
};

// The services of the running platform, for this operating system.
[[nodiscard]] PlatformServices createPlatformServices(const AppPaths& paths);

// Where the shared objects find their services. `install` is called once, on the main thread, before the
// first shared object is created; tests build their objects with explicit services instead.
namespace ServiceRegistry {

void install(PlatformServices services);
[[nodiscard]] bool isInstalled();

[[nodiscard]] const AppPaths& paths();
[[nodiscard]] const Clock& clock();
[[nodiscard]] const Workspace& workspace();

} // namespace ServiceRegistry
