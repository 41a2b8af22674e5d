// Loading and saving a large deck: 50 pages of a 4 × 3 grid, 600 tiles with every kind of action and icon.
#include "core/CanonicalJson.h"
#include "core/Preferences.h"
#include "model/Settings.h"
#include "model/StarterHint.h"
#include "model/TileCoding.h"
#include "model/TileStore.h"
#include "platform/MusicBridge.h"
#include "support/FakeClock.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QSaveFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int pageCount = 50;
constexpr int tilesPerPage = 12;

TileAction actionFor(int i)
{
    using A = TileAction;
    const QString n = QString::number(i);
    switch (i % 8) {
    case 0:
        return {A::LaunchApp{QStringLiteral("/usr/share/applications/org.example.App") + n +
                             QStringLiteral(".desktop")}};
    case 1:
        return {A::OpenURL{QStringLiteral("https://example.org/path/") + n}};
    case 2:
        return {A::RunScript{QStringLiteral("notify-send \"Tile %1\" && echo done > /tmp/tile-%1\n").arg(n),
                             false}};
    case 3:
        return {A::PlayAlbum{QStringLiteral("Album ") + n, QStringLiteral("Artist ") + n}};
    case 4:
        return {A::Sequence{
            {{A::OpenFile{QStringLiteral("/home/me/Documents/Report ") + n + QStringLiteral(".pdf")}},
             {A::RunSystemAction{SystemAction::snapLeft}},
             {A::Snippet{QStringLiteral("Kind regards,\nMe")}}}}};
    case 5:
        return {A::AudioOutput{QStringLiteral("alsa_output.usb-") + n, QStringLiteral("Headphones")}};
    case 6:
        return {A::ConnectBluetooth{QStringLiteral("AA:BB:CC:DD:EE:") + n.right(2), QStringLiteral("Buds")}};
    default:
        return {A::RunSystemAction{SystemAction::volumeUp}};
    }
}

TileIcon iconFor(int i)
{
    switch (i % 4) {
    case 0:
        return {TileIcon::Auto{}};
    case 1:
        return {TileIcon::Symbol{QStringLiteral("star.fill"), QStringLiteral("#FFAA00")}};
    case 2:
        return {TileIcon::Custom{QStringLiteral("icon-%1.png").arg(i)}};
    default:
        return {TileIcon::Builder{QStringLiteral("#203040"), QStringLiteral("rocket")}};
    }
}

Pages largeDeck()
{
    Pages pages(pageCount);
    int i = 0;
    for (Page& page : pages) {
        for (int slot = 0; slot < tilesPerPage; ++slot, ++i) {
            Tile tile;
            tile.label = i % 3 == 0 ? QStringLiteral("Tile %1").arg(i) : QString();
            tile.icon = iconFor(i);
            // One slot in six stays empty, as in a real deck.
            if (i % 6 != 5)
                tile.action = actionFor(i);
            page.push_back(tile);
        }
    }
    return pages;
}

// A home folder holding the large deck, with settings for a 4 × 3 grid.
class DeckHome {
public:
    DeckHome()
        : m_paths(AppPaths::forHome(m_dir.path()))
        , m_preferences(m_paths.preferencesFile())
        , m_settings(m_preferences)
        , m_starterHint(m_preferences)
    {
        m_settings.setGridColumns(4);
        m_settings.setGridRows(3);
        TileStore store = makeStore();
        store.replace(largeDeck(), TileStore::ChangeOrigin::import);
        store.savePendingChange();
    }

    TileStore makeStore()
    {
        return TileStore(TileStore::Services{m_paths, m_settings, m_starterHint, m_clock, m_music, {}});
    }

    FakeClock m_clock;

private:
    QTemporaryDir m_dir;
    AppPaths m_paths;
    Preferences m_preferences;
    DeckSettings m_settings;
    StarterHint m_starterHint;
    NullMusicBridge m_music;
};

void loadDeck(benchmark::State& state)
{
    DeckHome home;
    for (auto _ : state) {
        TileStore store = home.makeStore();
        benchmark::DoNotOptimize(store.pages().data());
    }
}
BENCHMARK(loadDeck)->Unit(benchmark::kMillisecond);

// One save as the debounce runs it: back up the replaced file, prune the backups, encode, write atomically.
void saveDeck(benchmark::State& state)
{
    DeckHome home;
    TileStore store = home.makeStore();
    for (auto _ : state) {
        state.PauseTiming();
        home.m_clock.advance(1);
        store.replace(store.pages(), TileStore::ChangeOrigin::import);
        state.ResumeTiming();
        benchmark::DoNotOptimize(store.savePendingChange());
    }
}
BENCHMARK(saveDeck)->Unit(benchmark::kMillisecond);

// The floor under a save: the same bytes written atomically, with no encoding and no backup.
void bareAtomicWrite(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tiles.json"));
    const QByteArray bytes = TileCoding::layoutBytes(largeDeck());
    for (auto _ : state) {
        QSaveFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        benchmark::DoNotOptimize(file.commit());
    }
}
BENCHMARK(bareAtomicWrite)->Unit(benchmark::kMillisecond);

// The floor under a load: Qt's parser alone on the same bytes.
void bareParse(benchmark::State& state)
{
    const QByteArray bytes = TileCoding::layoutBytes(largeDeck());
    for (auto _ : state)
        benchmark::DoNotOptimize(QJsonDocument::fromJson(bytes));
}
BENCHMARK(bareParse)->Unit(benchmark::kMillisecond);

void encodeDeck(benchmark::State& state)
{
    const Pages pages = largeDeck();
    for (auto _ : state)
        benchmark::DoNotOptimize(TileCoding::layoutBytes(pages));
}
BENCHMARK(encodeDeck)->Unit(benchmark::kMillisecond);

void decodeDeck(benchmark::State& state)
{
    const QByteArray bytes = TileCoding::layoutBytes(largeDeck());
    for (auto _ : state) {
        const auto json = TileCoding::parse(bytes);
        benchmark::DoNotOptimize(TileCoding::decodePages(*json));
    }
}
BENCHMARK(decodeDeck)->Unit(benchmark::kMillisecond);

void canonicalWriter(benchmark::State& state)
{
    const QJsonArray json = TileCoding::encode(largeDeck());
    const auto style = state.range(0) ? CanonicalJson::Style::Pretty : CanonicalJson::Style::Compact;
    for (auto _ : state)
        benchmark::DoNotOptimize(CanonicalJson::write(json, style));
}
BENCHMARK(canonicalWriter)->Arg(0)->Arg(1)->ArgNames({"pretty"})->Unit(benchmark::kMillisecond);

// Qt's own writer on the same value, as the baseline for ours.
void qtWriter(benchmark::State& state)
{
    const QJsonArray json = TileCoding::encode(largeDeck());
    const auto format = state.range(0) ? QJsonDocument::Indented : QJsonDocument::Compact;
    for (auto _ : state)
        benchmark::DoNotOptimize(QJsonDocument(json).toJson(format));
}
BENCHMARK(qtWriter)->Arg(0)->Arg(1)->ArgNames({"pretty"})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
