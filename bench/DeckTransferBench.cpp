// Moving a large deck through a deck file: 600 tiles on 50 pages, 100 of them with a custom icon of their
// own, beside the floor of reading and writing the same bytes.
#include "core/AtomicFile.h"
#include "core/Preferences.h"
#include "icons/IconVetting.h"
#include "model/Settings.h"
#include "model/StarterHint.h"
#include "model/TileStore.h"
#include "platform/MusicBridge.h"
#include "support/FakeClock.h"
#include "transfer/DeckTransfer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int pageCount = 50;
constexpr int tilesPerPage = 12;
constexpr int iconCount = 100;

// A 256-pixel icon with enough detail that it compresses like a real one.
QByteArray iconBytes(int seed)
{
    QImage image(256, 256, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgba((x * seed) & 0xFF, (y * 3 + seed) & 0xFF, ((x ^ y) + seed) & 0xFF, 255);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

Pages largeDeck()
{
    Pages pages(pageCount);
    int number = 0;
    for (Page& page : pages) {
        for (int slot = 0; slot < tilesPerPage; ++slot, ++number) {
            Tile tile;
            tile.label = QStringLiteral("Tile %1").arg(number);
            tile.action =
                TileAction{TileAction::OpenURL{QStringLiteral("https://example.org/%1").arg(number)}};
            if (number % 6 == 0 && number / 6 < iconCount)
                tile.icon = TileIcon{TileIcon::Custom{QStringLiteral("icon-%1.png").arg(number / 6)}};
            page.push_back(tile);
        }
    }
    return pages;
}

class DeckHome {
public:
    DeckHome()
        : m_paths(AppPaths::forHome(m_dir.path()))
        , m_preferences(m_paths.preferencesFile())
        , m_settings(m_preferences)
        , m_starterHint(m_preferences)
        , m_store(TileStore::Services{m_paths, m_settings, m_starterHint, m_clock, m_music, {}})
    {
        QDir().mkpath(m_paths.iconsDir());
        for (int i = 0; i < iconCount; ++i)
            (void)AtomicFile::write(m_paths.iconsDir() + QStringLiteral("/icon-%1.png").arg(i),
                                    iconBytes(i + 1));
        m_store.replace(largeDeck(), TileStore::ChangeOrigin::import);
        m_store.savePendingChange();
        file = m_dir.filePath(QStringLiteral("deck.marquetto"));
        (void)DeckTransfer::exportTo(file, local());
    }

    DeckTransfer::LocalDeck local() { return {m_store, m_settings, m_paths.iconsDir(), m_clock}; }

    // The import's two halves: the icons stored, off the main thread, and the deck replaced, on it.
    [[nodiscard]] Pages storeIcons(const DeckTransfer::DeckFile& deck) const
    {
        return DeckTransfer::storeIcons(deck, m_paths.iconsDir(), m_clock.now(), &IconVetting::vet);
    }

    bool replaceDeck(Pages pages, DeckTransfer::Grid grid)
    {
        return DeckTransfer::replaceDeck(std::move(pages), grid, m_store, m_settings);
    }

    FakeClock m_clock;
    QString file;

private:
    QTemporaryDir m_dir;
    AppPaths m_paths;
    Preferences m_preferences;
    DeckSettings m_settings;
    StarterHint m_starterHint;
    NullMusicBridge m_music;
    TileStore m_store;
};

void exportDeck(benchmark::State& state)
{
    DeckHome home;
    for (auto _ : state)
        benchmark::DoNotOptimize(DeckTransfer::exportTo(home.file, home.local()));
    state.counters["bytes"] = static_cast<double>(QFile(home.file).size());
}
BENCHMARK(exportDeck)->Unit(benchmark::kMillisecond);

// Reading for import: the file read, decoded and counted, as the confirmation needs it.
void readDeck(benchmark::State& state)
{
    DeckHome home;
    for (auto _ : state)
        benchmark::DoNotOptimize(DeckTransfer::read(home.file));
}
BENCHMARK(readDeck)->Unit(benchmark::kMillisecond);

// Applying again: every icon found identical on disk, the deck replaced and saved with its backup.
void applyDeck(benchmark::State& state)
{
    DeckHome home;
    const DeckTransfer::DeckFile deck = DeckTransfer::read(home.file)->deck;
    for (auto _ : state) {
        home.m_clock.advance(1);
        benchmark::DoNotOptimize(home.replaceDeck(home.storeIcons(deck), deck.grid()));
    }
}
BENCHMARK(applyDeck)->Unit(benchmark::kMillisecond);

// The part of an apply on the main thread: the stored pages made the deck and saved with its backup.
void replaceDeck(benchmark::State& state)
{
    DeckHome home;
    const DeckTransfer::DeckFile deck = DeckTransfer::read(home.file)->deck;
    const Pages pages = home.storeIcons(deck);
    for (auto _ : state) {
        home.m_clock.advance(1);
        benchmark::DoNotOptimize(home.replaceDeck(pages, deck.grid()));
    }
}
BENCHMARK(replaceDeck)->Unit(benchmark::kMillisecond);

// The floor: the same bytes read, and written atomically, with no coding at all.
void plainReadWrite(benchmark::State& state)
{
    DeckHome home;
    for (auto _ : state) {
        const auto bytes = AtomicFile::read(home.file, DeckTransfer::maxFileBytes);
        benchmark::DoNotOptimize(AtomicFile::write(home.file, *bytes));
    }
}
BENCHMARK(plainReadWrite)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
