#include "platform/PlatformServices.h"
#include "platform/linux/appearance/DesktopWallpaper.h"
#include "platform/linux/appearance/GnomeReduceMotion.h"
#include "platform/linux/appearance/LinuxWallpaper.h"
#include "platform/linux/audio/DesktopAlertSound.h"
#include "platform/linux/audio/PaplayClickSound.h"
#include "platform/linux/audio/PulseAudioInput.h"
#include "platform/linux/audio/PulseAudioSystem.h"
#include "platform/linux/calendar/CombinedCalendarStore.h"
#include "platform/linux/calendar/DeferredCalendarStore.h"
#include "platform/linux/calendar/EdsCalendarModule.h"
#include "platform/linux/calendar/ICalendarStore.h"
#include "platform/linux/desktop/AutostartEntry.h"
#include "platform/linux/desktop/DesktopApplicationNames.h"
#include "platform/linux/desktop/DesktopInstalledApplications.h"
#include "platform/linux/desktop/DesktopStarterDeck.h"
#include "platform/linux/desktop/LauncherEntryCounts.h"
#include "platform/linux/desktop/LinuxTilePresets.h"
#include "platform/linux/desktop/LinuxWordings.h"
#include "platform/linux/desktop/LinuxWorkspace.h"
#include "platform/linux/desktop/XdgTrash.h"
#include "platform/linux/hotkeys/DesktopHotKeys.h"
#include "platform/linux/hotkeys/GnomeCustomKeybindings.h"
#include "platform/linux/music/MprisMusic.h"
#include "platform/linux/music/MusicFolder.h"
#include "platform/linux/system/BluezBluetooth.h"
#include "platform/linux/system/DesktopSleepInhibitor.h"
#include "platform/linux/system/GeoClueLocation.h"
#include "platform/linux/system/GnomeDoNotDisturb.h"
#include "platform/linux/system/LinuxClock.h"
#include "platform/linux/system/LinuxSystemControls.h"
#include "platform/linux/system/LinuxSystemStatus.h"
#include "platform/linux/system/LinuxTileStateSources.h"
#include "platform/linux/system/LogindWakeWatch.h"
#include "platform/linux/system/MachineName.h"
#include "platform/linux/system/PlasmaDoNotDisturb.h"
#include "platform/linux/system/ProcVitalsCounters.h"
#include "platform/linux/x11/X11DeckWindow.h"
#include "platform/linux/x11/X11Windows.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QStandardPaths>

namespace {

// UPower, NetworkManager, logind and the screen saver answer within milliseconds when they run at all.
constexpr std::chrono::seconds statusTimeout{5};

// Our sounds are made again when lost: the session's runtime folder suits them, the cache otherwise.
QString soundFile(const QString& name)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime + QStringLiteral("/marquetto-") + name;
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/Marquetto/") + name;
}

// Made when Bluetooth, the lock or sleep is first asked for, never at start-up.
LazyDBusConnection systemBus()
{
    return LazyDBusConnection([] { return QDBusConnection::systemBus(); });
}

// Made when music or the desktop's colour scheme is first asked about.
LazyDBusConnection sessionBus()
{
    return LazyDBusConnection([] { return QDBusConnection::sessionBus(); });
}

// The Do Not Disturb of the desktop we run on, where we know how to switch it.
std::unique_ptr<DoNotDisturb> doNotDisturb(ProcessRunner& processes, const QString& gsettings)
{
    switch (DesktopWallpaper::desktopFrom(qEnvironmentVariable("XDG_CURRENT_DESKTOP"))) {
    case DesktopWallpaper::Desktop::gnome:
        if (!gsettings.isEmpty())
            return std::make_unique<GnomeDoNotDisturb>(processes, gsettings, sessionBus());
        break;
    case DesktopWallpaper::Desktop::plasma:
        return std::make_unique<PlasmaDoNotDisturb>(sessionBus(), statusTimeout);
    default:
        break;
    }
    return std::make_unique<NoDoNotDisturb>();
}

} // namespace

PlatformServices createPlatformServices(const AppPaths& paths, ArtworkShaper shapeArtwork)
{
    PlatformServices services;
    services.paths = paths;
    services.clock = std::make_unique<LinuxClock>();
    ProcessRunner& processes = *services.processes;
    services.workspace = std::make_unique<LinuxWorkspace>(paths, processes);
    services.applicationNames =
        std::make_unique<DesktopApplicationNames>(DesktopApplicationNames::messagesLocale());
    services.installedApplications = std::make_unique<DesktopInstalledApplications>(
        QStringList{paths.dataHome} + paths.dataDirs, DesktopApplicationNames::messagesLocale());
    services.createWindows = [] { return createX11Windows(); };
    services.createHotKeys = [] { return DesktopHotKeys::create(); };
    services.createWindowStacking = []() -> std::unique_ptr<WindowStacking> {
        return X11DeckWindow::connect();
    };
    services.createWallpaper = [&processes, configHome = paths.configHome] {
        return LinuxWallpaper::create(processes, configHome);
    };
    const QString pactl = QStandardPaths::findExecutable(QStringLiteral("pactl"));
    services.audio = std::make_unique<PulseAudioSystem>(processes, pactl);
    // The tiles' lights and the microphone module follow the sound server through one `pactl subscribe`.
    const auto soundEvents = std::make_shared<PactlSubscription>(pactl);
    services.audioInput = std::make_unique<PulseAudioInput>(processes, pactl, soundEvents);
    services.sleepInhibitor =
        std::make_unique<DesktopSleepInhibitor>(systemBus(), sessionBus(), statusTimeout);
    services.bluetooth = std::make_unique<BluezBluetooth>(systemBus());
    const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    services.systemControls =
        std::make_unique<LinuxSystemControls>(*services.audio, processes, gsettings, systemBus());
    // The player says what plays; the albums come from the music folder, which the player's object owns.
    auto* albums =
        new MusicFolder(MusicFolder::userMusicFolder(paths), paths.iconsDir(), std::move(shapeArtwork));
    auto music = std::make_unique<MprisMusic>(sessionBus(), *albums, *services.workspace, paths);
    albums->setParent(music.get());
    services.music = std::move(music);
    services.tileStateSources = std::make_unique<LinuxTileStateSources>(
        processes, LinuxTileStateSources::Programs{pactl, gsettings}, soundEvents, systemBus(), sessionBus());
    services.createReduceMotion = [gsettings]() -> std::unique_ptr<ReduceMotion> {
        if (gsettings.isEmpty() || !GnomeReduceMotion::isGnome(qEnvironmentVariable("XDG_CURRENT_DESKTOP")))
            return std::make_unique<NoReduceMotion>();
        return std::make_unique<GnomeReduceMotion>(gsettings, std::chrono::seconds(1));
    };
    services.wordings = &linuxWordings();
    services.setLaunchAtLogin = [paths](const QString& program, bool on) {
        const QStringList installed{QStandardPaths::findExecutable(QStringLiteral("marquetto")),
                                    QStringLiteral(MARQUETTO_INSTALL_BINDIR "/marquetto")};
        return AutostartEntry::set(paths, AutostartEntry::programToStart(program, installed), on);
    };
    services.launchesAtLogin = [paths] { return AutostartEntry::isOn(paths); };
    services.createWakeWatch = [] { return std::make_unique<LogindWakeWatch>(systemBus()); };
    services.machineName = [] { return MachineName::read(QStringLiteral("/etc/machine-info")); };
    services.tilePresets = [paths] { return LinuxTilePresets::catalogue(paths); };
    services.starterDeck = [&workspace = *services.workspace](int limit) {
        return DesktopStarterDeck::tiles(limit, workspace);
    };
    const QString paplay = QStandardPaths::findExecutable(QStringLiteral("paplay"));
    services.clickSound =
        std::make_unique<PaplayClickSound>(processes, paplay, soundFile(QStringLiteral("pop.wav")));
    services.alertSound = std::make_unique<DesktopAlertSound>(
        processes, QStandardPaths::findExecutable(QStringLiteral("canberra-gtk-play")), paplay,
        soundFile(QStringLiteral("chime.wav")));
    services.vitalsCounters = std::make_unique<ProcVitalsCounters>();
    services.systemStatus = std::make_unique<LinuxSystemStatus>(systemBus(), statusTimeout);
    services.trash = std::make_unique<XdgTrash>(
        processes, QStandardPaths::findExecutable(QStringLiteral("gio")), paths.dataHome);
    services.location = std::make_unique<GeoClueLocation>(
        systemBus(), processes, QStandardPaths::findExecutable(QStringLiteral("gnome-control-center")));
    services.createCalendars = [&workspace = *services.workspace, &clock = *services.clock,
                                cache = paths.supportDir() +
                                        QStringLiteral("/Calendars")](DeckSettings& settings) {
        std::vector<std::unique_ptr<CalendarStore>> stores;
        stores.push_back(std::make_unique<DeferredCalendarStore>(
            [&workspace] { return EdsCalendarModule::load(workspace); }));
        stores.push_back(std::make_unique<ICalendarStore>(settings, workspace, clock, cache));
        return std::make_unique<CombinedCalendarStore>(std::move(stores));
    };
    services.unreadMessages = std::make_unique<LauncherEntryCounts>(sessionBus(), *services.workspace);
    services.doNotDisturb = doNotDisturb(processes, gsettings);
    if (DesktopWallpaper::desktopFrom(qEnvironmentVariable("XDG_CURRENT_DESKTOP")) ==
        DesktopWallpaper::Desktop::gnome)
        services.keyboardShortcutSetup = std::make_unique<GnomeCustomKeybindings>(processes, gsettings);
    services.companionProgram = [] {
        return GnomeCustomKeybindings::companionProgram(QCoreApplication::applicationDirPath());
    };
    return services;
}
