#pragma once

#include "platform/AlertPresenter.h"

// The texts the user reads that name one platform's own places, permissions and programs. Each platform has
// one table (MacWordings, LinuxWordings); texts that make sense everywhere stay with the code that shows
// them.
struct PlatformWordings {
    // Shown once when app tiles cannot bring another application's minimized windows forward.
    Alert windowAccess;
    // Whether choosing the first button of `windowAccess` opens the place where that access is granted.
    bool windowAccessOpensSettings = false;
};
