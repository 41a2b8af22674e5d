#pragma once

#include "core/AppPaths.h"

// The lock the running deck holds for as long as it runs (see SingleInstance), seen from the companion.
namespace DeckLock {

// Whether a deck on this machine holds the lock of the deck that keeps its files under `paths`. The lock is
// only read, never taken, so a deck that is starting is never held up. A lock a crashed deck left behind,
// even one whose process id the system has given to another program since, is not held.
[[nodiscard]] bool isHeld(const AppPaths& paths);

// Whether this very process holds that lock, which makes it the one deck working on those files.
[[nodiscard]] bool isHeldByThisProcess(const AppPaths& paths);

} // namespace DeckLock
