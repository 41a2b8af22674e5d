#include "platform/linux/desktop/LinuxTilePresets.h"

#include "platform/linux/desktop/DesktopEntries.h"
#include "platform/linux/desktop/UserDirs.h"

namespace LinuxTilePresets {

namespace {

const QString essentials = QStringLiteral("Essentials");
const QString quickActions = QStringLiteral("Quick Actions");
const QString utilities = QStringLiteral("Utilities");

TilePreset preset(const QString& id, const QString& name, const QString& category, TileAction::Value action,
                  const QString& colour, const QString& glyph, const QString& blurb,
                  const QString& requiredProgram = {}, std::optional<QString> permissionNote = std::nullopt)
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
        .requiredProgram = requiredProgram,
    };
}

TileAction::Value shell(const QString& source)
{
    return TileAction::RunScript{source, false};
}

// A desktop application by its desktop file id, and the program its entry starts.
struct Application {
    QString desktopId;
    QString program;
};

struct FoundApplication {
    QString desktopFile;
    QString program;
};

// The first candidate whose desktop entry is installed; otherwise the first one where Debian installs it, so
// that the tile works once the program is installed.
FoundApplication findApplication(const AppPaths& paths, std::initializer_list<Application> candidates)
{
    const QStringList dataDirs = QStringList{paths.dataHome} + paths.dataDirs;
    for (const Application& candidate : candidates) {
        if (const auto file = DesktopEntries::find(candidate.desktopId, dataDirs))
            return {*file, candidate.program};
    }
    const Application& usual = *candidates.begin();
    return {QStringLiteral("/usr/share/applications/") + usual.desktopId, usual.program};
}

TilePreset appPreset(const QString& id, const QString& name, const QString& category,
                     const FoundApplication& application, const QString& colour, const QString& glyph,
                     const QString& blurb)
{
    return preset(id, name, category, TileAction::LaunchApp{application.desktopFile}, colour, glyph, blurb,
                  application.program);
}

} // namespace

std::vector<TilePreset> catalogue(const AppPaths& paths)
{
    const QString settings = QStringLiteral("gnome-control-center");
    return {
        preset(QStringLiteral("home-folder"), QStringLiteral("Home Folder"), essentials,
               TileAction::OpenFile{paths.home}, QStringLiteral("#1E7CE8"), QStringLiteral("folder"),
               QStringLiteral("Opens your home folder in a fresh file manager window.")),
        preset(QStringLiteral("downloads"), QStringLiteral("Downloads"), essentials,
               TileAction::OpenFile{
                   UserDirs::userDir(paths, QStringLiteral("XDG_DOWNLOAD_DIR"), QStringLiteral("Downloads"))},
               QStringLiteral("#2E7D4F"), QStringLiteral("download-simple"),
               QStringLiteral("Straight into your Downloads folder.")),
        preset(QStringLiteral("new-email"), QStringLiteral("New Email"), essentials,
               TileAction::OpenURL{QStringLiteral("mailto:")}, QStringLiteral("#0E8A8A"),
               QStringLiteral("envelope-simple"),
               QStringLiteral("Starts a blank message in your default mail app.")),
        preset(QStringLiteral("chrome-window"), QStringLiteral("New Chrome Window"), essentials,
               shell(QStringLiteral("google-chrome --new-window")), QStringLiteral("#F2B705"),
               QStringLiteral("globe"),
               QStringLiteral("A fresh Chrome window, even if Chrome is already open."),
               QStringLiteral("google-chrome")),
        // Debian's alternatives name the system's browser; Firefox and the Chromium family both take
        // --new-window.
        preset(QStringLiteral("browser-window"), QStringLiteral("New Browser Window"), essentials,
               shell(QStringLiteral("x-www-browser --new-window")), QStringLiteral("#1B66D1"),
               QStringLiteral("compass"),
               QStringLiteral("A fresh window of your default browser, ready to go."),
               QStringLiteral("x-www-browser")),
        preset(QStringLiteral("online-accounts"), QStringLiteral("Online Accounts"), essentials,
               shell(QStringLiteral("gnome-control-center online-accounts")), QStringLiteral("#5C8DC9"),
               QStringLiteral("cloud"),
               QStringLiteral("Connect your cloud accounts so their files show up in your file manager."),
               settings),
        preset(QStringLiteral("network"), QStringLiteral("Network"), essentials,
               TileAction::OpenURL{QStringLiteral("network:///")}, QStringLiteral("#2C7A7B"),
               QStringLiteral("share-network"),
               QStringLiteral("Browse the shared folders of the computers on your network.")),

        preset(QStringLiteral("screenshot"), QStringLiteral("Screenshot"), quickActions,
               shell(QStringLiteral("gnome-screenshot -a -c")), QStringLiteral("#5E5CE6"),
               QStringLiteral("camera"),
               QStringLiteral("Drag-select part of the screen; the shot lands on your clipboard."),
               QStringLiteral("gnome-screenshot")),
        preset(QStringLiteral("empty-trash"), QStringLiteral("Empty Trash"), quickActions,
               shell(QStringLiteral("gio trash --empty")), QStringLiteral("#8E8E93"), QStringLiteral("trash"),
               QStringLiteral("Takes out the garbage."), QStringLiteral("gio")),
        // Only hot-plugged drives (USB and the like), never a built-in disk; a drive is powered off only once
        // every file system on it is unmounted, so one busy disk keeps its files safe.
        preset(QStringLiteral("eject-disks"), QStringLiteral("Eject All Disks"), quickActions,
               shell(QStringLiteral(
                   "for d in $(lsblk -dpno NAME,HOTPLUG | awk '$2 == 1 {print $1}'); do ok=1; "
                   "for p in $(lsblk -lpno NAME,MOUNTPOINT \"$d\" | awk 'NF > 1 {print $1}'); do "
                   "udisksctl unmount -b \"$p\" || ok=0; done; "
                   "[ \"$ok\" = 1 ] && udisksctl power-off -b \"$d\"; done")),
               QStringLiteral("#B8552F"), QStringLiteral("eject"),
               QStringLiteral("Safely ejects every external disk in one tap."), QStringLiteral("udisksctl"),
               QStringLiteral("Your desktop asks for your password to eject a disk another user mounted.")),
        preset(QStringLiteral("lock-screen"), QStringLiteral("Lock Screen"), quickActions,
               TileAction::RunSystemAction{SystemAction::lockScreen}, QStringLiteral("#2C2C2E"),
               QStringLiteral("lock"), QStringLiteral("Locks your session; your password opens it again.")),
        preset(QStringLiteral("screen-saver"), QStringLiteral("Screen Saver"), quickActions,
               shell(QStringLiteral("xdg-screensaver activate")), QStringLiteral("#3A7CA5"),
               QStringLiteral("monitor"), QStringLiteral("Starts the screen saver right now."),
               QStringLiteral("xdg-screensaver")),
        preset(QStringLiteral("read-clipboard"), QStringLiteral("Read Clipboard Aloud"), quickActions,
               shell(QStringLiteral("xclip -o -selection clipboard | espeak-ng")), QStringLiteral("#C05621"),
               QStringLiteral("megaphone"),
               QStringLiteral("Your computer reads whatever you last copied. Proofread hands-free."),
               QStringLiteral("xclip espeak-ng")),
        // The deck puts a snippet on the clipboard itself: no program to install, X11 or Wayland alike.
        preset(QStringLiteral("copy-shrug"), QStringLiteral("Copy Shrug"), quickActions,
               TileAction::Snippet{QStringLiteral("¯\\_(ツ)_/¯")}, QStringLiteral("#B7791F"),
               QStringLiteral("smiley"),
               QStringLiteral("Puts ¯\\_(ツ)_/¯ on your clipboard, ready to paste anywhere.")),
        appPreset(QStringLiteral("quick-mirror"), QStringLiteral("Quick Mirror"), quickActions,
                  findApplication(
                      paths, {{QStringLiteral("org.gnome.Cheese.desktop"), QStringLiteral("cheese")},
                              {QStringLiteral("org.gnome.Snapshot.desktop"), QStringLiteral("snapshot")}}),
                  QStringLiteral("#97266D"), QStringLiteral("user-focus"),
                  QStringLiteral("Pops open the camera for a hair check before the call.")),
        // xclip owns the clipboard with nothing in it, which leaves nothing to paste.
        preset(QStringLiteral("clear-clipboard"), QStringLiteral("Clear Clipboard"), quickActions,
               shell(QStringLiteral("xclip -selection clipboard -i /dev/null")), QStringLiteral("#7D6A55"),
               QStringLiteral("clipboard"),
               QStringLiteral("Wipes the clipboard after copying a password or address."),
               QStringLiteral("xclip")),

        appPreset(QStringLiteral("system-settings"), QStringLiteral("System Settings"), utilities,
                  findApplication(paths, {{QStringLiteral("org.gnome.Settings.desktop"), settings},
                                          {QStringLiteral("gnome-control-center.desktop"), settings}}),
                  QStringLiteral("#6E6E73"), QStringLiteral("gear"),
                  QStringLiteral("Jump straight into your desktop's settings.")),
        preset(QStringLiteral("bluetooth"), QStringLiteral("Bluetooth Settings"), utilities,
               shell(QStringLiteral("gnome-control-center bluetooth")), QStringLiteral("#2456C8"),
               QStringLiteral("bluetooth"),
               QStringLiteral("Right to the Bluetooth pane for pairing headphones."), settings),
        appPreset(QStringLiteral("calculator"), QStringLiteral("Calculator"), utilities,
                  findApplication(paths, {{QStringLiteral("org.gnome.Calculator.desktop"),
                                           QStringLiteral("gnome-calculator")}}),
                  QStringLiteral("#D97E29"), QStringLiteral("calculator"),
                  QStringLiteral("The classic, one tap away.")),
        // Files starts afresh on its next use; its open windows close with it.
        preset(QStringLiteral("fix-files"), QStringLiteral("Fix the File Manager"), utilities,
               shell(QStringLiteral("nautilus -q")), QStringLiteral("#4A4A4F"), QStringLiteral("wrench"),
               QStringLiteral("Quits Files when it's acting weird; it opens fresh next time."),
               QStringLiteral("nautilus")),
        // One unit at a time: a desktop runs either PipeWire or PulseAudio, and a unit it lacks must not stop
        // the others.
        preset(QStringLiteral("restart-sound"), QStringLiteral("Restart Sound"), utilities,
               shell(QStringLiteral("for u in pipewire pipewire-pulse wireplumber pulseaudio; do "
                                    "systemctl --user try-restart \"$u.service\"; done")),
               QStringLiteral("#6C5B8E"), QStringLiteral("sliders"),
               QStringLiteral("Restarts the sound server when sound drops out or a device goes missing."),
               QStringLiteral("systemctl")),
        preset(QStringLiteral("restart-wifi"), QStringLiteral("Restart Wi-Fi"), utilities,
               shell(QStringLiteral("nmcli radio wifi off; sleep 3; nmcli radio wifi on")),
               QStringLiteral("#2F7D6A"), QStringLiteral("arrows-clockwise"),
               QStringLiteral("Cycles Wi-Fi off and on. The classic fix for flaky internet."),
               QStringLiteral("nmcli")),
        preset(QStringLiteral("wifi-settings"), QStringLiteral("Wi-Fi Settings"), utilities,
               shell(QStringLiteral("gnome-control-center wifi")), QStringLiteral("#4A7FA5"),
               QStringLiteral("wifi-high"), QStringLiteral("Straight to the Wi-Fi pane to pick a network."),
               settings),
        preset(QStringLiteral("sound-settings"), QStringLiteral("Sound Settings"), utilities,
               shell(QStringLiteral("gnome-control-center sound")), QStringLiteral("#7A5EA6"),
               QStringLiteral("speaker-high"),
               QStringLiteral("Switch speakers, headphones, and mics without the menu hunt."), settings),
        appPreset(
            QStringLiteral("storage"), QStringLiteral("Check Storage"), utilities,
            findApplication(paths, {{QStringLiteral("org.gnome.baobab.desktop"), QStringLiteral("baobab")}}),
            QStringLiteral("#8A5444"), QStringLiteral("hard-drives"),
            QStringLiteral("See what's eating your disk.")),
        appPreset(QStringLiteral("system-monitor"), QStringLiteral("See What's Slow"), utilities,
                  findApplication(paths, {{QStringLiteral("gnome-system-monitor.desktop"),
                                           QStringLiteral("gnome-system-monitor")},
                                          {QStringLiteral("org.gnome.SystemMonitor.desktop"),
                                           QStringLiteral("gnome-system-monitor")}}),
                  QStringLiteral("#8E4444"), QStringLiteral("gauge"),
                  QStringLiteral("Opens System Monitor to catch whatever is hogging your computer.")),
    };
}

} // namespace LinuxTilePresets
