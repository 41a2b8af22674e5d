#include "platform/macos/MacTilePresets.h"

namespace MacTilePresets {

namespace {

const QString essentials = QStringLiteral("Essentials");
const QString quickActions = QStringLiteral("Quick Actions");
const QString utilities = QStringLiteral("Utilities");

TilePreset preset(const QString& id, const QString& name, const QString& category, TileAction::Value action,
                  const QString& colour, const QString& glyph, const QString& blurb,
                  std::optional<QString> permissionNote = std::nullopt)
{
    return {
        .id = id,
        .name = name,
        .blurb = blurb,
        .category = category,
        .action = TileAction{std::move(action)},
        .icon = TileIcon{TileIcon::Builder{colour, glyph}},
        .label = name,
        .permissionNote = std::move(permissionNote),
        .requiredProgram = {},
    };
}

TileAction::Value shell(const QString& source)
{
    return TileAction::RunScript{source, false};
}

TileAction::Value appleScript(const QString& source)
{
    return TileAction::RunScript{source, true};
}

TileAction::Value app(const QString& path)
{
    return TileAction::LaunchApp{path};
}

TileAction::Value url(const QString& address)
{
    return TileAction::OpenURL{address};
}

const QString controlsFinder = QStringLiteral("macOS asks once to let Marquetto control Finder.");

} // namespace

std::vector<TilePreset> catalogue(const QString& home)
{
    return {
        preset(QStringLiteral("finder"), QStringLiteral("Finder"), essentials,
               shell(QStringLiteral("open \"$HOME\"")), QStringLiteral("#1E7CE8"), QStringLiteral("folder"),
               QStringLiteral("Opens a fresh Finder window on your home folder.")),
        preset(QStringLiteral("downloads"), QStringLiteral("Downloads"), essentials,
               TileAction::OpenFile{home + QStringLiteral("/Downloads")}, QStringLiteral("#2E7D4F"),
               QStringLiteral("download-simple"), QStringLiteral("Straight into your Downloads folder.")),
        preset(QStringLiteral("new-email"), QStringLiteral("New Email"), essentials,
               url(QStringLiteral("mailto:")), QStringLiteral("#0E8A8A"), QStringLiteral("envelope-simple"),
               QStringLiteral("Starts a blank message in your default mail app.")),
        preset(QStringLiteral("chrome-window"), QStringLiteral("New Chrome Window"), essentials,
               shell(QStringLiteral("open -na \"Google Chrome\" --args --new-window")),
               QStringLiteral("#F2B705"), QStringLiteral("globe"),
               QStringLiteral("A fresh Chrome window, even if Chrome is already open.")),
        preset(QStringLiteral("safari-window"), QStringLiteral("New Safari Window"), essentials,
               appleScript(
                   QStringLiteral("tell application \"Safari\"\n\tactivate\n\tmake new document\nend tell")),
               QStringLiteral("#1B66D1"), QStringLiteral("compass"),
               QStringLiteral("A fresh Safari window, ready to go."),
               QStringLiteral("macOS asks once to let Marquetto control Safari.")),
        preset(QStringLiteral("icloud-drive"), QStringLiteral("iCloud Drive"), essentials,
               TileAction::OpenFile{home + QStringLiteral("/Library/Mobile Documents/com~apple~CloudDocs")},
               QStringLiteral("#5C8DC9"), QStringLiteral("cloud"),
               QStringLiteral("Your iCloud files in a Finder window.")),
        preset(
            QStringLiteral("airdrop"), QStringLiteral("AirDrop"), essentials,
            app(QStringLiteral("/System/Library/CoreServices/Finder.app/Contents/Applications/AirDrop.app")),
            QStringLiteral("#2C7A7B"), QStringLiteral("share-network"),
            QStringLiteral("Straight to the AirDrop window to fling files to your iPhone.")),

        preset(QStringLiteral("screenshot"), QStringLiteral("Screenshot"), quickActions,
               shell(QStringLiteral("screencapture -i -c")), QStringLiteral("#5E5CE6"),
               QStringLiteral("camera"),
               QStringLiteral("Drag-select part of the screen; the shot lands on your clipboard."),
               QStringLiteral("macOS asks once for Screen Recording access.")),
        preset(QStringLiteral("empty-trash"), QStringLiteral("Empty Trash"), quickActions,
               appleScript(QStringLiteral("tell application \"Finder\" to empty trash")),
               QStringLiteral("#8E8E93"), QStringLiteral("trash"), QStringLiteral("Takes out the garbage."),
               controlsFinder),
        preset(QStringLiteral("eject-disks"), QStringLiteral("Eject All Disks"), quickActions,
               appleScript(QStringLiteral(
                   "tell application \"Finder\" to eject (every disk whose ejectable is true)")),
               QStringLiteral("#B8552F"), QStringLiteral("eject"),
               QStringLiteral("Safely ejects every external disk in one tap."), controlsFinder),
        preset(QStringLiteral("lock-screen"), QStringLiteral("Lock Screen"), quickActions,
               TileAction::RunSystemAction{SystemAction::lockScreen}, QStringLiteral("#2C2C2E"),
               QStringLiteral("lock"),
               QStringLiteral("Sleeps the display and locks your Mac (per your password setting).")),
        preset(QStringLiteral("screen-saver"), QStringLiteral("Screen Saver"), quickActions,
               shell(QStringLiteral("open -a ScreenSaverEngine")), QStringLiteral("#3A7CA5"),
               QStringLiteral("monitor"), QStringLiteral("Starts the screen saver right now.")),
        preset(QStringLiteral("read-clipboard"), QStringLiteral("Read Clipboard Aloud"), quickActions,
               shell(QStringLiteral("pbpaste | say")), QStringLiteral("#C05621"), QStringLiteral("megaphone"),
               QStringLiteral("Your Mac reads whatever you last copied. Proofread hands-free.")),
        // printf turns the doubled backslash into the one of the shrug.
        preset(QStringLiteral("copy-shrug"), QStringLiteral("Copy Shrug"), quickActions,
               shell(QStringLiteral("printf '¯\\\\_(ツ)_/¯' | pbcopy")), QStringLiteral("#B7791F"),
               QStringLiteral("smiley"),
               QStringLiteral("Puts ¯\\_(ツ)_/¯ on your clipboard, ready to paste anywhere.")),
        preset(QStringLiteral("quick-mirror"), QStringLiteral("Quick Mirror"), quickActions,
               app(QStringLiteral("/System/Applications/Photo Booth.app")), QStringLiteral("#97266D"),
               QStringLiteral("user-focus"),
               QStringLiteral("Pops open the camera for a hair check before the call.")),
        preset(QStringLiteral("clear-clipboard"), QStringLiteral("Clear Clipboard"), quickActions,
               shell(QStringLiteral("pbcopy < /dev/null")), QStringLiteral("#7D6A55"),
               QStringLiteral("clipboard"),
               QStringLiteral("Wipes the clipboard after copying a password or address.")),

        preset(QStringLiteral("system-settings"), QStringLiteral("System Settings"), utilities,
               app(QStringLiteral("/System/Applications/System Settings.app")), QStringLiteral("#6E6E73"),
               QStringLiteral("gear"), QStringLiteral("Jump straight into System Settings.")),
        preset(QStringLiteral("bluetooth"), QStringLiteral("Bluetooth Settings"), utilities,
               url(QStringLiteral("x-apple.systempreferences:com.apple.BluetoothSettings")),
               QStringLiteral("#2456C8"), QStringLiteral("bluetooth"),
               QStringLiteral("Right to the Bluetooth pane for pairing headphones.")),
        preset(QStringLiteral("calculator"), QStringLiteral("Calculator"), utilities,
               app(QStringLiteral("/System/Applications/Calculator.app")), QStringLiteral("#D97E29"),
               QStringLiteral("calculator"), QStringLiteral("The classic, one tap away.")),
        preset(QStringLiteral("fix-dock"), QStringLiteral("Fix the Dock"), utilities,
               shell(QStringLiteral("killall Dock")), QStringLiteral("#4A4A4F"), QStringLiteral("wrench"),
               QStringLiteral("Restarts the Dock when it's acting weird.")),
        preset(QStringLiteral("fix-menubar"), QStringLiteral("Fix the Menu Bar"), utilities,
               shell(QStringLiteral("killall ControlCenter SystemUIServer")), QStringLiteral("#6C5B8E"),
               QStringLiteral("sliders"),
               QStringLiteral("Restarts the menu bar when the clock or Wi-Fi icon freezes.")),
        preset(QStringLiteral("restart-wifi"), QStringLiteral("Restart Wi-Fi"), utilities,
               shell(QStringLiteral(
                   "d=$(networksetup -listallhardwareports | awk '/Wi-Fi|AirPort/{getline; print $2}'); "
                   "networksetup -setairportpower \"$d\" off; sleep 3; networksetup -setairportpower \"$d\" "
                   "on")),
               QStringLiteral("#2F7D6A"), QStringLiteral("arrows-clockwise"),
               QStringLiteral("Cycles Wi-Fi off and on. The classic fix for flaky internet.")),
        preset(QStringLiteral("wifi-settings"), QStringLiteral("Wi-Fi Settings"), utilities,
               url(QStringLiteral("x-apple.systempreferences:com.apple.wifi-settings-extension")),
               QStringLiteral("#4A7FA5"), QStringLiteral("wifi-high"),
               QStringLiteral("Straight to the Wi-Fi pane to pick a network.")),
        preset(QStringLiteral("sound-settings"), QStringLiteral("Sound Settings"), utilities,
               url(QStringLiteral("x-apple.systempreferences:com.apple.Sound-Settings.extension")),
               QStringLiteral("#7A5EA6"), QStringLiteral("speaker-high"),
               QStringLiteral("Switch speakers, headphones, and mics without the menu hunt.")),
        preset(QStringLiteral("storage"), QStringLiteral("Check Storage"), utilities,
               url(QStringLiteral("x-apple.systempreferences:com.apple.settings.Storage")),
               QStringLiteral("#8A5444"), QStringLiteral("hard-drives"),
               QStringLiteral("See what's eating your disk.")),
        preset(QStringLiteral("activity-monitor"), QStringLiteral("See What's Slow"), utilities,
               app(QStringLiteral("/System/Applications/Utilities/Activity Monitor.app")),
               QStringLiteral("#8E4444"), QStringLiteral("gauge"),
               QStringLiteral("Opens Activity Monitor to catch whatever is hogging your Mac.")),
    };
}

} // namespace MacTilePresets
