#pragma once

#include <functional>

class ActionRunner;

// Hands out the action runner when something is about to run. Building the runner reaches the desktop's
// windows, which start-up and most commands never need.
using ActionRunnerSource = std::function<ActionRunner&()>;
