// One quiet cloud pass (nothing changed on either side) over a 600-tile deck: the main thread's share, which
// the CPU column shows; the file stamp check runs on the cloud queue.
#include "core/Preferences.h"
#include "model/LayoutFile.h"
#include "model/Settings.h"
#include "model/StarterHint.h"
#include "platform/PlatformWordings.h"
#include "support/FakeClock.h"
#include "support/FakeDevices.h"
#include "support/FakeMusicBridge.h"
#include "sync/CloudDeck.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_QuietCloudPass(benchmark::State& state)
{
    QTemporaryDir home;
    const AppPaths paths = AppPaths::forHome(home.path());
    const QString drive = home.path() + QStringLiteral("/Sync");
    QDir().mkpath(drive);
    FakeClock clock;
    Pages pages(50);
    for (int i = 0; i < 600; ++i) {
        Tile tile;
        tile.label = QStringLiteral("Tile %1").arg(i);
        tile.action =
            TileAction{TileAction::OpenURL{QStringLiteral("https://example.org/") + QString::number(i)}};
        pages[static_cast<size_t>(i / 12)].push_back(tile);
    }
    LayoutFile(paths, clock).write(pages);
    Preferences preferences(paths.preferencesFile());
    DeckSettings settings(preferences);
    settings.setGrid(4, 3);
    settings.setCloudDeckFolder(drive);
    StarterHint hint(preferences);
    FakeMusicBridge music;
    FakeAlertPresenter alerts;
    TileStore store({paths, settings, hint, clock, music, [](int) { return std::vector<Tile>(); }});
    PlatformWordings wordings;
    CloudDeck cloud({store,
                     settings,
                     hint,
                     clock,
                     alerts,
                     wordings,
                     paths.iconsDir(),
                     {},
                     [&settings] { return settings.cloudDeckFolder(); },
                     {},
                     [] { return QStringLiteral("bench"); }});
    const auto settle = [&cloud] {
        while (cloud.isRunning() || cloud.isTurningOn()) {
            cloud.queue().waitForDone();
            QCoreApplication::processEvents();
        }
    };
    cloud.setCloudDeck(true, [](const Alert&) { return CloudDeck::Side::local; });
    settle();
    cloud.check();
    settle();
    // Quiet: no upload (the revision stays) and no download (the deck stays).
    const int revision = settings.cloudDeckRevision();
    const Pages before = store.pages();
    for (auto _ : state) {
        cloud.check();
        settle();
    }
    if (revision == 0 || settings.cloudDeckRevision() != revision || store.pages() != before)
        state.SkipWithError("the pass was not quiet");
}
BENCHMARK(BM_QuietCloudPass)->Unit(benchmark::kMicrosecond);

} // namespace
