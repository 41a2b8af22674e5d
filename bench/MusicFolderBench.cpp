// Scanning a music folder of 5000 tagged MP3 files in albums of ten, against the floor any scan pays: walking
// the same folder and reading the first 4 KB of every file; and how long the main thread is kept from its
// events while the deck's music folder scans in the background.
#include "platform/linux/music/AlbumScan.h"
#include "platform/linux/music/MusicFolder.h"
#include "support/TaggedAudio.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace {

constexpr int albumCount = 500;
constexpr int tracksPerAlbum = 10;

// Made once for every benchmark of the run.
const QString& library()
{
    static QTemporaryDir dir;
    static const bool made = [] {
        for (int album = 0; album < albumCount; ++album) {
            const QString artist = QStringLiteral("Artist %1").arg(album % 97);
            const QString folder = dir.path() + QStringLiteral("/%1/Album %2/").arg(artist).arg(album);
            for (int track = 1; track <= tracksPerAlbum; ++track) {
                const TaggedAudio::Tags tags(QStringLiteral("Album %1").arg(album), artist, {},
                                             QStringLiteral("1/1"), track);
                if (!TaggedAudio::writeMp3(
                        folder + QStringLiteral("%1 Track.mp3").arg(track, 2, 10, QChar(u'0')), tags))
                    return false;
            }
        }
        return true;
    }();
    static const QString path = made ? dir.path() : QString();
    return path;
}

void scanAlbums(benchmark::State& state)
{
    if (library().isEmpty())
        state.SkipWithError("the library could not be written");
    const std::atomic<bool> stop = false;
    for (auto _ : state) {
        const AlbumScan::Result result = AlbumScan::scan(library(), stop);
        if (result.library.albums().size() != albumCount)
            state.SkipWithError("albums went missing");
    }
}
BENCHMARK(scanAlbums)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void readFirstBlocks(benchmark::State& state)
{
    if (library().isEmpty())
        state.SkipWithError("the library could not be written");
    for (auto _ : state) {
        qint64 total = 0;
        QDirIterator files(library(), QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            if (file.open(QIODevice::ReadOnly))
                total += file.read(4096).size();
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(readFirstBlocks)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The longest gap between two ticks of a 1 ms timer on the main thread while the albums are being found.
void mainThreadDuringScan(benchmark::State& state)
{
    if (library().isEmpty())
        state.SkipWithError("the library could not be written");
    double longestMs = 0;
    for (auto _ : state) {
        // Without a shaper no cover is stored: the scan alone is timed.
        MusicFolder folder(library(), QDir::tempPath(), {});
        QEventLoop loop;
        QElapsedTimer sinceTick;
        QTimer ticks;
        ticks.setInterval(1);
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            longestMs = std::max(longestMs, sinceTick.nsecsElapsed() / 1e6);
            sinceTick.restart();
        });
        std::size_t found = 0;
        folder.albums([&](std::vector<AlbumEntry> albums) {
            found = albums.size();
            loop.quit();
        });
        sinceTick.start();
        ticks.start();
        loop.exec();
        if (found != albumCount)
            state.SkipWithError("albums went missing");
    }
    state.counters["longest_main_thread_gap_ms"] = longestMs;
}
BENCHMARK(mainThreadDuringScan)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
