#include "platform/macos/MacWordings.h"

const PlatformWordings& macWordings()
{
    static const PlatformWordings wordings{
        .windowAccess =
            {
                QStringLiteral("Let Marquetto bring minimized apps forward"),
                QStringLiteral(
                    "macOS won't let an app un-minimize another app's windows unless it has Accessibility "
                    "access. Grant Marquetto access and your app tiles will restore minimized apps just like "
                    "clicking their Dock icon.\n\nSystem Settings ▸ Privacy & Security ▸ Accessibility ▸ "
                    "turn on Marquetto, then relaunch Marquetto."),
                {QStringLiteral("Open Settings"), QStringLiteral("Not Now")},
            },
        .windowAccessOpensSettings = true,
        .windowRestoreReady = {QStringLiteral("App tiles already restore minimized apps."),
                               QStringLiteral(
                                   "Marquetto has Accessibility access, so clicking an app tile brings "
                                   "its minimized windows forward like the Dock."),
                               {QStringLiteral("OK")}},
        .windowRestoreFooter =
            QStringLiteral("With Accessibility access, clicking an app tile brings back its "
                           "minimized windows, the way the Dock does."),
        .dockIconSwitch = QStringLiteral("Show Dock icon"),
        .hotKeyModifierCaps = {QStringLiteral("⌃"), QStringLiteral("⌥")},
        .starterHint = QStringLiteral("⌃⌥Space brings it forward. Right-click a tile to edit it."),
        .dealFooter = QStringLiteral(
            "Tiles deal onto the deck at launch, and when you summon it after 20 minutes away. "
            "Summons in between stay instant, and it's skipped when Reduce Motion is on."),
        .symbolIconStyle = QStringLiteral("SF Symbol"),
        .audioOutputHelp = QStringLiteral(
            "Sends the Mac's audio to this device. The tile lights while it's the one in use."),
        .appleScriptLanguage = QStringLiteral("AppleScript"),
        .focusSetupReady = QStringLiteral("You're set — the moon button turns Do Not Disturb on and off."),
        .focusSetupNeeded = QStringLiteral("macOS only lets apps switch Focus through Shortcuts. Add the two "
                                           "ready-made ones below — one click each, nothing to build."),
        .focusSetupUsesShortcuts = true,
        .scriptsRunWhere = QStringLiteral("on your Mac"),
        .cloudDrive = QStringLiteral("iCloud Drive"),
        .computer = QStringLiteral("Mac"),
        .cloudDriveOffStatus =
            QStringLiteral("iCloud Drive is off. Turn it on in System Settings to keep syncing."),
        .cloudDriveOff =
            {
                QStringLiteral("iCloud Drive is off."),
                QStringLiteral(
                    "Turn on iCloud Drive in System Settings, under your name > iCloud, then try again."),
                {QStringLiteral("OK")},
            },
        .useCloudDeck = QStringLiteral("Use iCloud's Deck"),
        .keepLocalDeck = QStringLiteral("Keep This Mac's"),
        .cloudSwitch = QStringLiteral("Sync with iCloud Drive"),
        .cloudFooter = QStringLiteral(
            "Keeps your tiles, pages and custom icons the same on each Mac signed in to your iCloud account. "
            "Tile size, the band and appearance stay set per Mac."),
        .cloudDriveMissingFooter = QStringLiteral("Turn on iCloud Drive in System Settings to use this."),
        .cloudFolderIsChosen = false,
    };
    return wordings;
}
