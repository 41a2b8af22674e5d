#pragma once

struct AppPaths;

// Removing icon files that no layout uses any more. Only the part the store needs at start-up lives here yet.
namespace IconCleanup {

// Called when no usable layout could be loaded: the icons on disk may belong to the layout that failed to
// load, so the clean-up is switched off for good by an empty hold file as long as any icon remains.
void holdIfIconsRemain(const AppPaths& paths);

[[nodiscard]] bool isHeld(const AppPaths& paths);

} // namespace IconCleanup
