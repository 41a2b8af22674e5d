// How long the deck takes to paint one full page of a 4 × 3 large grid, every tile configured, with the icon
// forms mixed: builder plates, tinted symbols, custom images (plates and framed pictures) and fallback
// symbols. The first paint prepares the scaled images; the figure is the steady repaint.
#include "actions/NowPlaying.h"
#include "actions/TileState.h"
#include "band/BandEngines.h"
#include "editing/PhosphorFont.h"
#include "exchange/IconFinish.h"
#include "exchange/IconResolver.h"
#include "model/Settings.h"
#include "model/StarterHint.h"
#include "model/TileStore.h"
#include "panel/DealEngine.h"
#include "panel/DeckView.h"
#include "panel/EditMode.h"
#include "panel/NowPlayingArtwork.h"
#include "panel/QtFrameClock.h"
#include "platform/AlertPresenter.h"
#include "platform/AlertSound.h"
#include "platform/CalendarStore.h"
#include "platform/DoNotDisturb.h"
#include "platform/Preferences.h"
#include "platform/ReduceMotion.h"
#include "platform/UnreadMessages.h"
#include "platform/Workspace.h"
#include "platform/linux/LinuxWordings.h"
#include "support/FakeClock.h"
#include "support/FakeDevices.h"
#include "support/FakeFileIcons.h"
#include "support/FakeMusicBridge.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString savedImage(const QString& folder, const QString& name, bool opaqueSquare)
{
    QImage image(256, 256, QImage::Format_ARGB32);
    image.fill(opaqueSquare ? QColor(40, 160, 90) : QColor(Qt::transparent));
    if (!opaqueSquare) {
        for (int y = 48; y < 208; ++y) {
            for (int x = 48; x < 208; ++x)
                image.setPixelColor(x, y, QColor(230, 120, 30));
        }
    }
    image.save(QDir(folder).filePath(name));
    return name;
}

Tile tileOfForm(int index, const QString& plate, const QString& picture)
{
    Tile tile;
    tile.label = QStringLiteral("Tile %1").arg(index);
    tile.action = TileAction{TileAction::OpenURL{QStringLiteral("https://example.org/%1").arg(index)}};
    switch (index % 5) {
    case 0:
        tile.icon = TileIcon{TileIcon::Builder{QStringLiteral("#3478F6"), QStringLiteral("star")}};
        break;
    case 1:
        tile.icon = TileIcon{TileIcon::Symbol{QStringLiteral("globe"), QStringLiteral("#FFCC00")}};
        break;
    case 2:
        tile.icon = TileIcon{TileIcon::Custom{plate}};
        break;
    case 3:
        tile.icon = TileIcon{TileIcon::Custom{picture}};
        break;
    default:
        break;
    }
    return tile;
}

void paintLargePage(benchmark::State& state)
{
    QTemporaryDir home;
    const AppPaths paths = AppPaths::forHome(home.path());
    QDir().mkpath(paths.iconsDir());
    const QString plate = savedImage(paths.iconsDir(), QStringLiteral("plate.png"), true);
    const QString picture = savedImage(paths.iconsDir(), QStringLiteral("picture.png"), false);

    Preferences preferences(paths.preferencesFile());
    DeckSettings settings(preferences);
    settings.setGridColumns(4);
    settings.setTileSize(TileSizeOption::large);
    FakeClock clock;
    FakeMusicBridge music;
    StarterHint starterHint(preferences);
    TileStore store({paths, settings, starterHint, clock, music, {}});
    for (int index = 0; index < settings.tilesPerPage(); ++index)
        store.set(tileOfForm(index, plate, picture), 0, index);

    FakeFileIcons fileIcons;
    IconResolver icons(paths.iconsDir(), fileIcons, clock);
    IconFinish finish;
    PhosphorFont font(PhosphorFont::resourcesDir() + QStringLiteral("/Phosphor-Fill.ttf"),
                      PhosphorFont::resourcesDir() + QStringLiteral("/PhosphorFill.json"));
    EditModeState editMode(store);
    TileHoverState hover;
    LoggingAlertPresenter alerts;
    QtFrameClock frames;
    NoApplicationNames names;
    // The deal is over: the figure is the page at rest.
    NoReduceMotion reduceMotion;
    DealEngine deal({settings, clock, reduceMotion});
    NullTileStateSources stateSources;
    TileStateProvider tileState(stateSources, store);
    NowPlayingModel nowPlaying(music, store);
    NowPlayingArtwork artwork(nowPlaying);
    // The page alone, as before the band came: the band is measured on its own.
    settings.setShowBand(false);
    NoVitalsCounters counters;
    NullSystemStatus status;
    NullTrash trash;
    NullAlertSound alertSound;
    FakeSystemControls controls;
    NullClipboard clipboard;
    NullAudioInput audioInput;
    NullSleepInhibitor sleepInhibitor;
    NullLocation location;
    NullWorkspace workspace;
    NullCalendarStore calendars;
    NoUnreadMessages unread;
    NoDoNotDisturb doNotDisturb;
    BandEngines band({clock, settings, counters, status, trash, alertSound, controls, clipboard, audioInput,
                      sleepInhibitor, stateSources, location, workspace, calendars, unread, doNotDisturb,
                      paths.home});
    DeckView view({store, settings, names, starterHint, editMode, hover, icons, finish, font, music, alerts,
                   frames, deal, tileState, artwork, band, linuxWordings()});
    view.resize(view.sizeHint());

    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    view.render(&image);
    for (auto _ : state) {
        image.fill(Qt::transparent);
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(paintLargePage)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
