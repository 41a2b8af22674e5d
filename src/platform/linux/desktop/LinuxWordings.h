#pragma once

#include "platform/PlatformWordings.h"

// The texts of a Linux desktop. Restoring and raising other applications' windows needs no permission on
// X11; what can be missing there is the X11 display itself.
[[nodiscard]] const PlatformWordings& linuxWordings();
