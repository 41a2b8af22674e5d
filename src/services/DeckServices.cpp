#include "services/DeckServices.h"

#include "actions/ActionChain.h"
#include "actions/NowPlaying.h"
#include "actions/TileState.h"
#include "actions/WindowSnap.h"
#include "band/BandEngines.h"
#include "commands/DeckCommands.h"
#include "core/Preferences.h"
#include "deck/TileLibrary.h"
#include "model/Settings.h"
#include "model/StarterHint.h"
#include "sync/CloudDeck.h"
#include "transfer/IconCleanup.h"

#include <QCoreApplication>
#include <QtGlobal>

DeckServices::DeckServices(PlatformServices platform)
    : DeckServices(std::move(platform), Parts{})
{
}

DeckServices::DeckServices(PlatformServices platform, Parts parts)
    : m_platform(std::move(platform))
    , m_scenes(std::move(parts.scenes))
    , m_music(parts.music ? std::move(parts.music) : std::move(m_platform.music))
    , m_vet(std::move(parts.vet))
{
    if (!m_platform.systemControls)
        qFatal("Marquetto: platform services built without system controls");
    if (!m_platform.wordings)
        qFatal("Marquetto: platform services built without their wordings");
    if (!m_platform.tilePresets)
        qFatal("Marquetto: platform services built without their tile presets");
    m_preferences = std::make_unique<Preferences>(m_platform.paths.preferencesFile());
    m_settings = std::make_unique<DeckSettings>(*m_preferences);
    m_starterHint = std::make_unique<StarterHint>(*m_preferences);
    TileStore::StarterDeckSource starterDeck =
        parts.starterDeck ? std::move(parts.starterDeck) : std::move(m_platform.starterDeck);
    m_store = std::make_unique<TileStore>(TileStore::Services{
        paths(),
        *m_settings,
        *m_starterHint,
        clock(),
        *m_music,
        std::move(starterDeck),
        [paths = paths()] { IconCleanup::holdIfIconsRemain(paths); },
    });
    m_nowPlaying = std::make_unique<NowPlayingModel>(*m_music, *m_store);
    m_tileState = std::make_unique<TileStateProvider>(*m_platform.tileStateSources, *m_store);
    QObject::connect(m_nowPlaying.get(), &NowPlayingModel::isPlayingChanged, m_tileState.get(),
                     &TileStateProvider::setMusicPlaying);
    m_tileLibrary = std::make_unique<TileLibrary>(m_platform.tilePresets);
}

DeckServices::~DeckServices() = default;

DeckServices& DeckServices::createForProcess(PlatformServices platform, Parts parts)
{
    static DeckServices* const root = new DeckServices(std::move(platform), std::move(parts));
    return *root;
}

std::optional<QString> DeckServices::setLaunchAtLogin(bool on) const
{
    return m_platform.setLaunchAtLogin(QCoreApplication::applicationFilePath(), on);
}

Windows& DeckServices::windows()
{
    if (!m_platform.windows)
        m_platform.windows =
            m_platform.createWindows ? m_platform.createWindows() : std::make_unique<NullWindows>();
    return *m_platform.windows;
}

ReduceMotion& DeckServices::reduceMotion()
{
    if (!m_platform.reduceMotion)
        m_platform.reduceMotion = m_platform.createReduceMotion ? m_platform.createReduceMotion()
                                                                : std::make_unique<NoReduceMotion>();
    return *m_platform.reduceMotion;
}

GlobalHotKeys& DeckServices::hotKeys()
{
    if (!m_platform.hotKeys)
        m_platform.hotKeys =
            m_platform.createHotKeys ? m_platform.createHotKeys() : std::make_unique<NullGlobalHotKeys>();
    return *m_platform.hotKeys;
}

Wallpaper& DeckServices::wallpaper()
{
    if (!m_platform.wallpaper)
        m_platform.wallpaper =
            m_platform.createWallpaper ? m_platform.createWallpaper() : std::make_unique<NoWallpaper>();
    return *m_platform.wallpaper;
}

std::unique_ptr<WindowStacking> DeckServices::createWindowStacking() const
{
    std::unique_ptr<WindowStacking> stacking;
    if (m_platform.createWindowStacking)
        stacking = m_platform.createWindowStacking();
    return stacking ? std::move(stacking) : std::make_unique<NullWindowStacking>();
}

ActionRunner& DeckServices::runner()
{
    return machinery().runner;
}

WindowSnap& DeckServices::windowSnap()
{
    return machinery().snap;
}

ActionChain& DeckServices::machinery()
{
    if (!m_machinery) {
        m_machinery = std::make_unique<ActionChain>(ActionChain::Services{
            .processes = processes(),
            .workspace = workspace(),
            .windows = windows(),
            .preferences = preferences(),
            .alerts = alerts(),
            .wordings = wordings(),
            .music = music(),
            .audio = *m_platform.audio,
            .bluetooth = *m_platform.bluetooth,
            .controls = *m_platform.systemControls,
            .clipboard = clipboard(),
            .scenes = *m_scenes,
            .ownPid = QCoreApplication::applicationPid(),
            .waylandSession = qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland",
        });
        // Pressing a now-playing tile changes what plays: the tile shows it without waiting for the poll.
        QObject::connect(&m_machinery->runner, &ActionRunner::nowPlayingToggled, m_nowPlaying.get(),
                         &NowPlayingModel::refreshSoon);
    }
    return *m_machinery;
}

BandEngines& DeckServices::band()
{
    if (!m_band && m_platform.createCalendars)
        m_platform.calendars = m_platform.createCalendars(settings());
    if (!m_band)
        m_band = std::make_unique<BandEngines>(BandEngines::Services{
            clock(),
            settings(),
            *m_platform.vitalsCounters,
            *m_platform.systemStatus,
            *m_platform.trash,
            *m_platform.alertSound,
            *m_platform.systemControls,
            clipboard(),
            *m_platform.audioInput,
            *m_platform.sleepInhibitor,
            *m_platform.tileStateSources,
            *m_platform.location,
            workspace(),
            *m_platform.calendars,
            *m_platform.unreadMessages,
            *m_platform.doNotDisturb,
            paths().home,
        });
    return *m_band;
}

CloudDeck& DeckServices::cloudDeck()
{
    if (!m_cloudDeck) {
        DeckTransfer::Vet vet = m_vet;
        if (!vet)
            vet = [](const QByteArray&) { return std::optional<DeckTransfer::VettedIcon>(); };
        m_cloudDeck = std::make_unique<CloudDeck>(CloudDeck::Services{
            store(),
            settings(),
            starterHint(),
            clock(),
            alerts(),
            wordings(),
            paths().iconsDir(),
            std::move(vet),
            [&settings = settings()] { return settings.cloudDeckFolder(); },
            m_platform.createWakeWatch,
            m_platform.machineName,
        });
    }
    return *m_cloudDeck;
}

void DeckServices::cleanUpIcons()
{
    // The shared deck's queue stores its icons before the deck adopts them: in its order, the clean-up comes
    // either before an icon is stored, which then writes it afresh, or after, when its date is new.
    cloudDeck().queue().run([paths = paths(), pages = store().pages(), &clock = clock()] {
        IconCleanup::run(paths, pages, clock);
    });
}

DeckCommands::Context DeckServices::commandContext(QIODevice& in, QTextStream& out, QTextStream& err)
{
    return {
        .store = store(),
        .settings = settings(),
        .names = applicationNames(),
        .runner = [this]() -> ActionRunner& { return runner(); },
        .in = in,
        .out = out,
        .err = err,
        .library = &tileLibrary(),
        .iconsDir = paths().iconsDir(),
        .clock = &clock(),
        .wordings = &wordings(),
        .cloud = &cloudDeck(),
        .shortcutSetup = &keyboardShortcutSetup(),
    };
}
