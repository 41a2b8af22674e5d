// How long the deck takes to paint one full page of a 4 × 3 large grid, every tile configured, with the icon
// forms mixed: builder plates, tinted symbols, custom images (plates and framed pictures) and fallback
// symbols. The first paint prepares the scaled images; the figure is the steady repaint. Then a whole ripple
// from one such page to another, beside its floor: the same frames drawn from images of the two pages.
#include "actions/NowPlaying.h"
#include "actions/TileState.h"
#include "band/BandEngines.h"
#include "core/Preferences.h"
#include "deck/DealEngine.h"
#include "deck/EditMode.h"
#include "deck/PageTransition.h"
#include "icons/IconFinish.h"
#include "icons/IconResolver.h"
#include "model/Settings.h"
#include "model/StarterHint.h"
#include "model/TileStore.h"
#include "platform/AlertPresenter.h"
#include "platform/AlertSound.h"
#include "platform/CalendarStore.h"
#include "platform/DoNotDisturb.h"
#include "platform/Location.h"
#include "platform/ReduceMotion.h"
#include "platform/UnreadMessages.h"
#include "platform/Workspace.h"
#include "platform/linux/desktop/LinuxWordings.h"
#include "support/FakeClock.h"
#include "support/FakeDevices.h"
#include "support/FakeFileIcons.h"
#include "support/FakeMusicBridge.h"
#include "support/SteppedFrameClock.h"
#include "ui/deck/DeckView.h"
#include "ui/deck/NowPlayingArtwork.h"
#include "ui/paint/PhosphorFont.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <tuple>

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

// Two pages of a 4 × 3 grid of large tiles, every tile configured, and the deck view showing them.
class LargeDeck {
public:
    LargeDeck()
    {
        QDir().mkpath(m_paths.iconsDir());
        const QString plate = savedImage(m_paths.iconsDir(), QStringLiteral("plate.png"), true);
        const QString picture = savedImage(m_paths.iconsDir(), QStringLiteral("picture.png"), false);
        m_settings.setGridColumns(4);
        m_settings.setGridRows(3);
        m_settings.setTileSize(TileSizeOption::large);
        m_settings.setPageTransition(PageTransitionOption::ripple);
        // The page alone, as before the band came: the band is measured on its own.
        m_settings.setShowBand(false);
        m_store.addPage();
        for (int page = 0; page < 2; ++page) {
            for (int index = 0; index < m_settings.tilesPerPage(); ++index)
                m_store.set(tileOfForm(index + page, plate, picture), page, index);
        }
        m_view.resize(m_view.sizeHint());
        // The first paint prepares the scaled images.
        QImage image = frame();
        m_view.render(&image);
    }

    [[nodiscard]] QImage frame() const { return QImage(m_view.size(), QImage::Format_ARGB32_Premultiplied); }

    void render(QImage& image)
    {
        image.fill(Qt::transparent);
        m_view.render(&image);
    }

    // Every frame of a change to the other page at 60 frames a second, until the last tile is at rest.
    void flip(QImage& image)
    {
        m_store.goToPage(1 - m_store.currentPage());
        for (double elapsed = 0; elapsed <= duration(); elapsed += frameSeconds) {
            render(image);
            m_frames.step(frameSeconds);
        }
    }

    [[nodiscard]] PageTransition::Style style() const
    {
        const DeckGeometry geometry = m_view.deckGeometry();
        return {PageTransitionOption::ripple, false, geometry.grid().tilePadding, geometry.pageRect().size()};
    }

    // How long a change of page takes until its last tile is at rest.
    [[nodiscard]] double duration() const
    {
        return PageTransition::duration(style(), m_settings.gridColumns());
    }

    [[nodiscard]] QRectF pageRect() const { return m_view.deckGeometry().pageRect(); }

    // The deck as it shows page `page` at rest.
    [[nodiscard]] QImage still(int page)
    {
        m_store.goToPage(page);
        m_frames.step(duration() + 1);
        QImage image = frame();
        render(image);
        return image;
    }

    static constexpr double frameSeconds = 1.0 / 60;

private:
    QTemporaryDir m_home;
    AppPaths m_paths = AppPaths::forHome(m_home.path());
    Preferences m_preferences{m_paths.preferencesFile()};
    DeckSettings m_settings{m_preferences};
    FakeClock m_clock;
    FakeMusicBridge m_music;
    StarterHint m_starterHint{m_preferences};
    TileStore m_store{{m_paths, m_settings, m_starterHint, m_clock, m_music, {}}};
    FakeFileIcons m_fileIcons;
    IconResolver m_icons{m_paths.iconsDir(), m_fileIcons, m_clock};
    IconFinish m_finish;
    PhosphorFont m_font{PhosphorFont::resourcesDir() + QStringLiteral("/Phosphor-Fill.ttf"),
                        PhosphorFont::resourcesDir() + QStringLiteral("/PhosphorFill.json")};
    EditModeState m_editMode{m_store};
    TileHoverState m_hover;
    LoggingAlertPresenter m_alerts;
    SteppedFrameClock m_frames;
    NoApplicationNames m_names;
    // The deal is over: the figures are the page at rest and its changes.
    NoReduceMotion m_reduceMotion;
    DealEngine m_deal{{m_settings, m_clock, m_reduceMotion}};
    NullTileStateSources m_stateSources;
    TileStateProvider m_tileState{m_stateSources, m_store};
    NowPlayingModel m_nowPlaying{m_music, m_store};
    NowPlayingArtwork m_artwork{m_nowPlaying};
    NoVitalsCounters m_counters;
    NullSystemStatus m_status;
    NullTrash m_trash;
    NullAlertSound m_alertSound;
    FakeSystemControls m_controls;
    NullClipboard m_clipboard;
    NullAudioInput m_audioInput;
    NullSleepInhibitor m_sleepInhibitor;
    NullLocation m_location;
    NullWorkspace m_workspace;
    NullCalendarStore m_calendars;
    NoUnreadMessages m_unread;
    NoDoNotDisturb m_doNotDisturb;
    BandEngines m_band{{m_clock, m_settings, m_counters, m_status, m_trash, m_alertSound, m_controls,
                        m_clipboard, m_audioInput, m_sleepInhibitor, m_stateSources, m_location, m_workspace,
                        m_calendars, m_unread, m_doNotDisturb, m_paths.home}};
    DeckView m_view{{m_store, m_settings, m_names, m_starterHint, m_editMode, m_hover, m_icons, m_finish,
                     m_font, m_music, m_alerts, m_frames, m_deal, m_tileState, m_artwork, m_band,
                     linuxWordings()}};
};

void paintLargePage(benchmark::State& state)
{
    LargeDeck deck;
    QImage image = deck.frame();
    for (auto _ : state) {
        deck.render(image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(paintLargePage)->Unit(benchmark::kMicrosecond);

// A whole ripple from one page to the other, every frame painted as the deck paints it.
void rippleFlip(benchmark::State& state)
{
    LargeDeck deck;
    QImage image = deck.frame();
    for (auto _ : state) {
        deck.flip(image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(rippleFlip)->Unit(benchmark::kMillisecond);

// The floor of a flip: as many frames, each the two pages drawn from images made once, each page with one
// transform and opacity of its look, over the deck's background made once too.
void rippleFloor(benchmark::State& state)
{
    LargeDeck deck;
    const QImage leaving = deck.still(0);
    const QImage arriving = deck.still(1);
    QImage background = deck.frame();
    background.fill(QColor(24, 24, 28));
    const PageTransition::Style style = deck.style();
    const double duration = deck.duration();
    const QRectF page = deck.pageRect();
    QImage image = deck.frame();
    for (auto _ : state) {
        for (double elapsed = 0; elapsed <= duration; elapsed += LargeDeck::frameSeconds) {
            QPainter painter(&image);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(0, 0, background);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            for (const auto& [picture, before, after] :
                 {std::tuple{&leaving, 0, -1}, std::tuple{&arriving, 1, 0}}) {
                const PageTransition::PageLook look = PageTransition::page(style, before, after, elapsed);
                // The ripple's tiles fade column by column; one fade of the whole page stands for them.
                const double fade = PageTransition::tile(style, after == 0, elapsed, 0).opacity;
                QTransform transform;
                transform.translate(page.center().x() + look.offset, page.center().y());
                transform.scale(look.scale, look.scale);
                transform.translate(-page.center().x(), -page.center().y());
                painter.setTransform(transform);
                painter.setOpacity(look.opacity * fade);
                painter.drawImage(page, *picture, page);
            }
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(rippleFloor)->Unit(benchmark::kMillisecond);

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
