#pragma once

#include "core/AppPaths.h"
#include "core/Clock.h"
#include "core/ProcessRunner.h"
#include "core/ProcessUtil.h"
#include "model/ApplicationNames.h"
#include "model/Models.h"
#include "model/TilePreset.h"
#include "platform/AlertPresenter.h"
#include "platform/AlertSound.h"
#include "platform/AudioInput.h"
#include "platform/AudioSystem.h"
#include "platform/Bluetooth.h"
#include "platform/CalendarStore.h"
#include "platform/ClickSound.h"
#include "platform/Clipboard.h"
#include "platform/DoNotDisturb.h"
#include "platform/HotKeys.h"
#include "platform/InstalledApplications.h"
#include "platform/KeyboardShortcutSetup.h"
#include "platform/Location.h"
#include "platform/MusicBridge.h"
#include "platform/PlatformWordings.h"
#include "platform/ReduceMotion.h"
#include "platform/SleepInhibitor.h"
#include "platform/SystemControls.h"
#include "platform/SystemStatus.h"
#include "platform/TileStateSources.h"
#include "platform/Trash.h"
#include "platform/UnreadMessages.h"
#include "platform/VitalsCounters.h"
#include "platform/WakeWatch.h"
#include "platform/Wallpaper.h"
#include "platform/WindowStacking.h"
#include "platform/Windows.h"
#include "platform/Workspace.h"

#include <QSysInfo>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class DeckSettings;

// The platform implementations this process runs with. Built once by the platform's factory at start-up and
// handed to the process's `DeckServices`; a service the desktop lacks is a null implementation, never a null
// pointer. The deck replaces the clipboard and the alert presenter with its own, which need a GUI.
struct PlatformServices {
    AppPaths paths;
    std::unique_ptr<Clock> clock = std::make_unique<SystemClock>();
    std::unique_ptr<ProcessRunner> processes = std::make_unique<ProcessUtil>();
    std::unique_ptr<Workspace> workspace = std::make_unique<NullWorkspace>();
    // For the labels and tooltips of application tiles.
    std::unique_ptr<ApplicationNames> applicationNames = std::make_unique<NoApplicationNames>();
    // For the tile editor's application picker.
    std::unique_ptr<InstalledApplications> installedApplications =
        std::make_unique<NoInstalledApplications>();
    // Made on first use: reaching the display is only worth it for what moves windows.
    std::function<std::unique_ptr<Windows>()> createWindows;
    std::unique_ptr<Windows> windows;
    // Made on first use too: the companion never grabs keys.
    std::function<std::unique_ptr<GlobalHotKeys>()> createHotKeys;
    std::unique_ptr<GlobalHotKeys> hotKeys;
    // Only the deck has a window to stack.
    std::function<std::unique_ptr<WindowStacking>()> createWindowStacking;
    // Made on first use: only the wallpaper tint asks, and only while it is on.
    std::function<std::unique_ptr<Wallpaper>()> createWallpaper;
    std::unique_ptr<Wallpaper> wallpaper;
    // Made on first use: only the deck moves anything.
    std::function<std::unique_ptr<ReduceMotion>()> createReduceMotion;
    std::unique_ptr<ReduceMotion> reduceMotion;
    std::unique_ptr<AudioSystem> audio = std::make_unique<NullAudioSystem>();
    // The band's microphone switch; it watches the sound server only once the switch is first read.
    std::unique_ptr<AudioInput> audioInput = std::make_unique<NullAudioInput>();
    // The band's keep-awake switch; it reaches the system only when switched on.
    std::unique_ptr<SleepInhibitor> sleepInhibitor = std::make_unique<NullSleepInhibitor>();
    std::unique_ptr<Bluetooth> bluetooth = std::make_unique<NullBluetooth>();
    std::unique_ptr<SystemControls> systemControls;
    // What the tiles' lights show; read only once the lights start.
    std::unique_ptr<TileStateSources> tileStateSources = std::make_unique<NullTileStateSources>();
    // The user's music player; it reaches the player on first use, not when made.
    std::unique_ptr<MusicBridge> music = std::make_unique<NullMusicBridge>();
    // The texts that name this platform's own places; a table of static lifetime.
    const PlatformWordings* wordings = nullptr;
    // Makes this platform's tile library catalogue; called once, when the library is first opened.
    std::function<std::vector<TilePreset>()> tilePresets;
    // The tiles of a first launch: what the desktop pins (the Mac's dock, a Linux desktop's favourites); none
    // when empty.
    std::function<std::vector<Tile>(int limit)> starterDeck;
    std::unique_ptr<ClickSound> clickSound = std::make_unique<NullClickSound>();
    // What the band's modules show and do; each reads nothing until the band asks.
    std::unique_ptr<VitalsCounters> vitalsCounters = std::make_unique<NoVitalsCounters>();
    std::unique_ptr<SystemStatus> systemStatus = std::make_unique<NullSystemStatus>();
    std::unique_ptr<Trash> trash = std::make_unique<NullTrash>();
    // Where the weather is; asks nothing until the weather module does.
    std::unique_ptr<Location> location = std::make_unique<NullLocation>();
    // The next-meeting module's calendars, made with the preferences that name the user's own calendar
    // sources; a store reads nothing until access is first asked for.
    std::function<std::unique_ptr<CalendarStore>(DeckSettings&)> createCalendars;
    std::unique_ptr<CalendarStore> calendars = std::make_unique<NullCalendarStore>();
    // The band's unread messages and Do Not Disturb; each reads nothing until its module is on the band.
    std::unique_ptr<UnreadMessages> unreadMessages = std::make_unique<NoUnreadMessages>();
    std::unique_ptr<DoNotDisturb> doNotDisturb = std::make_unique<NoDoNotDisturb>();
    // The focus timer's end.
    std::unique_ptr<AlertSound> alertSound = std::make_unique<NullAlertSound>();
    std::unique_ptr<Clipboard> clipboard = std::make_unique<NullClipboard>();
    std::unique_ptr<AlertPresenter> alerts = std::make_unique<LoggingAlertPresenter>();
    // Makes the session start `program` at login (on) or no longer (off); answers why it could not, or
    // nothing.
    std::function<std::optional<QString>(const QString& program, bool on)> setLaunchAtLogin =
        [](const QString&, bool) -> std::optional<QString> {
        return QStringLiteral("this desktop starts nothing at login");
    };
    // The desktop's own shortcuts that run the companion; its calls wait for programs.
    std::unique_ptr<KeyboardShortcutSetup> keyboardShortcutSetup =
        std::make_unique<NoKeyboardShortcutSetup>();
    // The companion those shortcuts run: the installed one when there is one.
    std::function<QString()> companionProgram = [] { return QString(); };
    // Whether the session starts the deck at login now.
    std::function<bool()> launchesAtLogin = [] { return false; };
    // Wakes from sleep, for cloud sync; made when sync first starts watching.
    std::function<std::unique_ptr<WakeWatch>()> createWakeWatch = [] {
        return std::make_unique<NullWakeWatch>();
    };
    // This machine's name as the user set it, shown on the other machines; called on a background thread.
    std::function<QString()> machineName = [] { return QSysInfo::machineHostName(); };
};

// The services of the running platform, for this operating system. Album covers become icon files through
// `shapeArtwork`; without it none is stored.
[[nodiscard]] PlatformServices createPlatformServices(const AppPaths& paths, ArtworkShaper shapeArtwork = {});
