#pragma once

#include "platform/PlatformWordings.h"

// The Mac's texts: its settings, its Accessibility permission.
[[nodiscard]] const PlatformWordings& macWordings();
