#pragma once

#include "platform/AlertPresenter.h"

#include <QString>
#include <QStringList>

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
    // The settings' note under the window-restore button while app tiles cannot restore windows.
    QString windowRestoreFooter;
    // The settings' switch for the application's icon in the dock; empty where the desktop has no such dock.
    QString dockIconSwitch;

    // The key caps of Control and Alt, the modifiers of the deck's global keys, as the keyboard prints them.
    QStringList hotKeyModifierCaps;
    // The deck's one-time hint after a first launch, naming the keys that summon it.
    QString starterHint;
    // The settings' note under the motion choices, naming the system setting that switches motion off.
    QString dealFooter;

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

    // Cloud sync; "%1" stands for the synced folder's own name.
    // The synced folder as the texts name it.
    QString cloudDrive;
    // What one of the user's machines is called: "Mac", "computer".
    QString computer;
    // The status line while the synced folder is not there.
    QString cloudDriveOffStatus;
    // Shown instead of switching sync on while the synced folder is not there.
    Alert cloudDriveOff;
    // The switch-on question's buttons for the shared deck and for this machine's.
    QString useCloudDeck;
    QString keepLocalDeck;
    // The settings' cloud switch and the note under it.
    QString cloudSwitch;
    QString cloudFooter;
    // The note instead of `cloudFooter`, with the switch disabled, while the synced folder is not there.
    QString cloudDriveMissingFooter;
    // Whether the user chooses the synced folder (shown, with a button to choose another) rather than the
    // system having one.
    bool cloudFolderIsChosen = false;
};
