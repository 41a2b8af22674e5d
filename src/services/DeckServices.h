#pragma once

#include "actions/SceneQueue.h"
#include "model/TileStore.h"
#include "platform/PlatformServices.h"
#include "transfer/DeckTransfer.h"

#include <memory>

struct ActionChain;
class ActionRunner;
class BandEngines;
class CloudDeck;
class NowPlayingModel;
class TileStateProvider;
class DeckSettings;
class TileLibrary;
class StarterHint;
class Preferences;
class WindowSnap;
class QIODevice;
class QTextStream;
namespace DeckCommands {
struct Context;
}

// The one place that wires the deck: built once per process from the platform services, it owns what the
// deck's parts share (the preferences, the settings, the store, the music bridge, what plays now and the
// action machinery)
// and hands them out by reference to whatever needs them. The deck's views keep what only they draw with.
//
// The preferences, settings and store are made at construction; the windows, the hot keys and the action
// machinery on first use, so that a process that never moves a window never connects to the display for it.
//
// Main thread only. A root must outlive every scene and background job its runner started: the programs keep
// theirs until the process ends (`createForProcess`), tests give theirs a scene queue that runs on their
// thread.
class DeckServices final {
public:
    // What a root is given besides the platform services; the programs take the defaults, tests hand in
    // fakes.
    struct Parts {
        std::unique_ptr<SceneQueue> scenes = std::make_unique<ThreadSceneQueue>();
        // Tests hand in a player of their own; the programs take the platform's.
        std::unique_ptr<MusicBridge> music;
        // The tiles of a first launch; when empty, the platform's own.
        TileStore::StarterDeckSource starterDeck;
        // Decides which images of a shared deck may become icon files; without it, none do.
        DeckTransfer::Vet vet;
    };

    explicit DeckServices(PlatformServices platform);
    DeckServices(PlatformServices platform, Parts parts);
    ~DeckServices();
    DeckServices(const DeckServices&) = delete;
    DeckServices& operator=(const DeckServices&) = delete;

    // The root of this process, never destroyed: a scene or a background job may still be running on a thread
    // of its own while the process quits, and those threads are never waited for. Called once, by `main`.
    [[nodiscard]] static DeckServices& createForProcess(PlatformServices platform, Parts parts);

    [[nodiscard]] const AppPaths& paths() const { return m_platform.paths; }
    [[nodiscard]] const Clock& clock() const { return *m_platform.clock; }
    [[nodiscard]] ProcessRunner& processes() { return *m_platform.processes; }
    [[nodiscard]] Workspace& workspace() { return *m_platform.workspace; }
    [[nodiscard]] Windows& windows();
    [[nodiscard]] GlobalHotKeys& hotKeys();
    [[nodiscard]] ReduceMotion& reduceMotion();
    // A new connection to the desktop's window stacking, owned by the caller.
    [[nodiscard]] std::unique_ptr<WindowStacking> createWindowStacking() const;
    // The desktop's wallpaper, made when first asked for.
    [[nodiscard]] Wallpaper& wallpaper();
    [[nodiscard]] ClickSound& clickSound() { return *m_platform.clickSound; }
    [[nodiscard]] Clipboard& clipboard() { return *m_platform.clipboard; }
    [[nodiscard]] const ApplicationNames& applicationNames() const { return *m_platform.applicationNames; }
    [[nodiscard]] const InstalledApplications& installedApplications() const
    {
        return *m_platform.installedApplications;
    }
    [[nodiscard]] AlertPresenter& alerts() { return *m_platform.alerts; }
    [[nodiscard]] const PlatformWordings& wordings() const { return *m_platform.wordings; }
    // Makes the session start this program at login, or no longer; answers why it could not, or nothing.
    [[nodiscard]] std::optional<QString> setLaunchAtLogin(bool on) const;
    [[nodiscard]] bool launchesAtLogin() const { return m_platform.launchesAtLogin(); }
    // The desktop's own shortcuts that run the companion; its calls wait for programs.
    [[nodiscard]] KeyboardShortcutSetup& keyboardShortcutSetup() { return *m_platform.keyboardShortcutSetup; }
    [[nodiscard]] QString companionProgram() const { return m_platform.companionProgram(); }
    // The sound server and the Bluetooth stack, whose calls may block: for lists the editor offers.
    [[nodiscard]] AudioSystem& audio() { return *m_platform.audio; }
    [[nodiscard]] Bluetooth& bluetooth() { return *m_platform.bluetooth; }
    // This platform's ready-made tiles; the catalogue is made when first asked for.
    [[nodiscard]] const TileLibrary& tileLibrary() const { return *m_tileLibrary; }

    [[nodiscard]] Preferences& preferences() { return *m_preferences; }
    [[nodiscard]] DeckSettings& settings() { return *m_settings; }
    [[nodiscard]] StarterHint& starterHint() { return *m_starterHint; }
    [[nodiscard]] TileStore& store() { return *m_store; }
    [[nodiscard]] MusicBridge& music() { return *m_music; }
    [[nodiscard]] NowPlayingModel& nowPlaying() { return *m_nowPlaying; }
    // The state behind the tiles' lights; it reads nothing until started.
    [[nodiscard]] TileStateProvider& tileState() { return *m_tileState; }
    [[nodiscard]] ActionRunner& runner();
    // The window snapping of the runner's system actions, which follows the frontmost application.
    [[nodiscard]] WindowSnap& windowSnap();
    // The engines behind the band's modules, made when first asked for; nothing samples until the band shows.
    [[nodiscard]] BandEngines& band();
    // Cloud sync through the folder of the "cloudDeckFolder" preference, made when first asked for.
    [[nodiscard]] CloudDeck& cloudDeck();
    // What a `marquetto-deck` command works with, from this root's parts. The companion and the running
    // deck's channel each add what only they know: the deck itself, a terminal, a running deck to hand
    // requests to, the icon importer, the companion's own path (looked up in PATH, so only where the
    // `shortcuts` command may run, never at each request the deck answers).
    [[nodiscard]] DeckCommands::Context commandContext(QIODevice& in, QTextStream& out, QTextStream& err);
    // Removes the icon files no layout uses any more, off the main thread, given the pages as they are now:
    // on the queue that stores the shared deck's icons, after the icon work already handed to it. The caller
    // makes sure no other deck works on these files.
    void cleanUpIcons();

private:
    [[nodiscard]] ActionChain& machinery();

    // Declared in the order of construction: each part only refers to those above it.
    PlatformServices m_platform;
    std::unique_ptr<SceneQueue> m_scenes;
    std::unique_ptr<MusicBridge> m_music;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<DeckSettings> m_settings;
    std::unique_ptr<StarterHint> m_starterHint;
    std::unique_ptr<TileStore> m_store;
    std::unique_ptr<NowPlayingModel> m_nowPlaying;
    std::unique_ptr<TileStateProvider> m_tileState;
    std::unique_ptr<TileLibrary> m_tileLibrary;
    std::unique_ptr<ActionChain> m_machinery;
    std::unique_ptr<BandEngines> m_band;
    DeckTransfer::Vet m_vet;
    std::unique_ptr<CloudDeck> m_cloudDeck;
};
