#include "platform/PlatformServices.h"
#include "platform/linux/AutostartEntry.h"
#include "platform/linux/BluezBluetooth.h"
#include "platform/linux/CombinedCalendarStore.h"
#include "platform/linux/DeferredCalendarStore.h"
#include "platform/linux/DesktopAlertSound.h"
#include "platform/linux/DesktopApplicationNames.h"
#include "platform/linux/DesktopHotKeys.h"
#include "platform/linux/DesktopInstalledApplications.h"
#include "platform/linux/DesktopSleepInhibitor.h"
#include "platform/linux/DesktopWallpaper.h"
#include "platform/linux/EdsCalendarModule.h"
#include "platform/linux/GeoClueLocation.h"
#include "platform/linux/GnomeCustomKeybindings.h"
#include "platform/linux/GnomeDoNotDisturb.h"
#include "platform/linux/GnomeReduceMotion.h"
#include "platform/linux/ICalendarStore.h"
#include "platform/linux/LauncherEntryCounts.h"
#include "platform/linux/LinuxClock.h"
#include "platform/linux/LinuxSystemControls.h"
#include "platform/linux/LinuxSystemStatus.h"
#include "platform/linux/LinuxTilePresets.h"
#include "platform/linux/LinuxTileStateSources.h"
#include "platform/linux/LinuxWallpaper.h"
#include "platform/linux/LinuxWordings.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/LogindWakeWatch.h"
#include "platform/linux/MachineName.h"
#include "platform/linux/MprisMusic.h"
#include "platform/linux/MusicFolder.h"
#include "platform/linux/PaplayClickSound.h"
#include "platform/linux/PlasmaDoNotDisturb.h"
#include "platform/linux/ProcVitalsCounters.h"
#include "platform/linux/PulseAudioInput.h"
#include "platform/linux/PulseAudioSystem.h"
#include "platform/linux/X11DeckWindow.h"
#include "platform/linux/X11Windows.h"
#include "platform/linux/XdgTrash.h"

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
    services.audioInput = std::make_unique<PulseAudioInput>(processes, pactl);
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
        processes, LinuxTileStateSources::Programs{pactl, gsettings}, systemBus(), sessionBus());
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
