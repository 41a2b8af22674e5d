#include "platform/linux/desktop/LinuxWordings.h"

const PlatformWordings& linuxWordings()
{
    // Windows are out of reach only without an X11 display (a Wayland session without XWayland, or the deck
    // started as a Wayland client); no setting grants them, so the alert says what to do and offers nothing
    // to open.
    static const PlatformWordings wordings{
        .windowAccess =
            {
                QStringLiteral("Marquetto can't bring minimized apps forward here"),
                QStringLiteral(
                    "Marquetto restores an app's minimized windows through the X11 window manager, and it "
                    "has no X11 display to talk to. Your app tiles still start apps; an app that is already "
                    "open decides for itself whether to come forward.\n\nOn a Wayland desktop, install "
                    "XWayland and start Marquetto with QT_QPA_PLATFORM unset or set to xcb."),
                {QStringLiteral("OK")},
            },
        .windowAccessOpensSettings = false,
        // X11 lets any client raise any window: there is nothing to grant.
        .windowRestoreReady = {QStringLiteral("App tiles already restore minimized apps."),
                               QStringLiteral(
                                   "Marquetto talks to the X11 window manager, so clicking an app tile "
                                   "brings its minimized windows forward like a taskbar does."),
                               {QStringLiteral("OK")}},
        .windowRestoreFooter = QStringLiteral("With an X11 display, clicking an app tile brings back its "
                                              "minimized windows, the way a taskbar does."),
        .dockIconSwitch = {},
        .hotKeyModifierCaps = {QStringLiteral("Ctrl"), QStringLiteral("Alt")},
        .starterHint = QStringLiteral("Ctrl+Alt+Space brings it forward. Right-click a tile to edit it."),
        // The deal follows the desktop's own switch for animations (GNOME's "enable-animations").
        .dealFooter = QStringLiteral(
            "Tiles deal onto the deck at launch, and when you summon it after 20 minutes away. Summons in "
            "between stay instant, and it's skipped while your desktop's animations are switched off."),
        .symbolIconStyle = QStringLiteral("Symbol"),
        .audioOutputHelp = QStringLiteral(
            "Sends this computer's audio to this device. The tile lights while it's the one in use."),
        // An AppleScript tile runs only once the deck reaches a Mac through the shared folder.
        .appleScriptLanguage = QStringLiteral("AppleScript (runs on a Mac)"),
        // GNOME's and Plasma's Do Not Disturb are switched directly: there is nothing to install.
        .focusSetupReady =
            QStringLiteral("Nothing to set up — the moon button switches your desktop's Do Not "
                           "Disturb directly. Marquetto knows GNOME's and KDE Plasma's."),
        .focusSetupNeeded = QStringLiteral("The moon button switches your desktop's Do Not Disturb directly. "
                                           "Marquetto knows GNOME's and KDE Plasma's."),
        .focusSetupUsesShortcuts = false,
        .scriptsRunWhere = QStringLiteral("on this computer"),
        .cloudDrive = QStringLiteral("%1"),
        .computer = QStringLiteral("computer"),
        .cloudDriveOffStatus = QStringLiteral("The folder %1 isn't there. Reconnect it to keep syncing."),
        .cloudDriveOff =
            {
                QStringLiteral("The folder %1 isn't there."),
                QStringLiteral("Choose a folder that your sync client keeps the same on each computer, then "
                               "try again."),
                {QStringLiteral("OK")},
            },
        .useCloudDeck = QStringLiteral("Use the Folder's Deck"),
        .keepLocalDeck = QStringLiteral("Keep This Computer's"),
        .cloudSwitch = QStringLiteral("Sync through a synced folder"),
        .cloudFooter = QStringLiteral(
            "Keeps your tiles, pages and custom icons the same on each computer that shares the folder. Tile "
            "size, the band and appearance stay set per computer."),
        // Switching on asks for a folder when there is none, so the switch is never out of reach.
        .cloudDriveMissingFooter = {},
        .cloudFolderIsChosen = true,
    };
    return wordings;
}
