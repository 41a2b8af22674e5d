#include "TestDeckServices.h"

#include "FakeClock.h"
#include "FakeMusicBridge.h"
#include "FakeProcessRunner.h"
#include "FakeSceneQueue.h"
#include "FakeWindows.h"
#include "FakeWorkspace.h"
#include "core/BackgroundQueue.h"
#include "model/StarterTiles.h"
#include "platform/macos/MacTilePresets.h"
#include "platform/macos/MacWordings.h"

#include <algorithm>

TestDeckServices::TestDeckServices(const AppPaths& paths, const QHash<QString, QString>& applications)
{
    PlatformServices platform;
    platform.paths = paths;
    platform.clock = std::make_unique<FakeClock>();
    platform.processes = std::make_unique<FakeProcessRunner>();
    auto workspace = std::make_unique<FakeWorkspace>();
    workspace->applications = applications;
    QStringList ids = applications.keys();
    std::sort(ids.begin(), ids.end());
    for (const QString& id : ids)
        workspace->favourites << applications.value(id);
    // A first launch starts with the favourites, as a Linux desktop's does.
    platform.starterDeck = [&favourites = workspace->favourites](int limit) {
        StarterTiles tiles(limit);
        for (const QString& path : favourites)
            tiles.add(path);
        return tiles.take();
    };
    platform.workspace = std::move(workspace);
    platform.createWindows = [this] {
        ++m_windowsMade;
        return std::make_unique<FakeWindows>();
    };
    platform.audio = std::make_unique<FakeAudioSystem>();
    platform.bluetooth = std::make_unique<FakeBluetooth>();
    platform.systemControls = std::make_unique<FakeSystemControls>();
    platform.wordings = &macWordings();
    platform.tilePresets = [home = paths.home] { return MacTilePresets::catalogue(home); };
    auto clipboard = std::make_unique<FakeClipboard>();
    m_clipboard = clipboard.get();
    platform.clipboard = std::move(clipboard);
    platform.alerts = std::make_unique<FakeAlertPresenter>();

    DeckServices::Parts parts;
    parts.scenes = std::make_unique<FakeSceneQueue>();
    parts.music = std::make_unique<FakeMusicBridge>();
    m_root = std::make_unique<DeckServices>(std::move(platform), std::move(parts));
}

TestDeckServices::~TestDeckServices()
{
    BackgroundQueue::waitForDone();
}
