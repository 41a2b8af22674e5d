#pragma once

#include "actions/ActionRunner.h"
#include "actions/WindowSnap.h"

// The action machinery of this process, built on first use from the installed platform services and kept
// until the process ends (scene and background jobs may still be using it while the process quits).
namespace SharedActions {

[[nodiscard]] ActionRunner& runner();
// The window snapping of the runner's system actions, which follows the frontmost application.
[[nodiscard]] WindowSnap& windowSnap();

} // namespace SharedActions
