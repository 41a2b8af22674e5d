#pragma once

#include "platform/AlertPresenter.h"

#include <QString>

// The texts the user reads that name one platform's own places, permissions and programs. Each platform has
// one table (MacWordings, LinuxWordings); texts that make sense everywhere stay with the code that shows
// them.
struct PlatformWordings {
    // Shown once when app tiles cannot bring another application's minimized windows forward.
    Alert windowAccess;
    // Whether choosing the first button of `windowAccess` opens the place where that access is granted.
    bool windowAccessOpensSettings = false;
    // Shown when the user asks for window restoring and app tiles already bring minimized windows forward.
    Alert windowRestoreReady;

    // The tile editor's icon style drawn from the system's symbols.
    QString symbolIconStyle;
    // The tile editor's help under the audio output picker.
    QString audioOutputHelp;
    // The tile editor's name for the AppleScript language of script tiles.
    QString appleScriptLanguage;

    // The Do Not Disturb setup window's status line once a click on the band's moon can switch, and before.
    QString focusSetupReady;
    QString focusSetupNeeded;
    // Whether switching goes through shortcuts the user installs, which the window helps with.
    bool focusSetupUsesShortcuts = false;
    // Where an imported deck's scripts would run, in the import's warning ("on your Mac").
    QString scriptsRunWhere;
};
