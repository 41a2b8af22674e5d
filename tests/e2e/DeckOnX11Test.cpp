// End to end on a private X server (Xvfb) with openbox: the real deck program, clicked, keyed and scrolled
// with xdotool, watched through `marquetto-deck state` and the files its tiles write. Screenshots of each
// step are kept in the build's test-artefacts folder.
#include "model/TileCoding.h"
#include "support/DeckProcess.h"
#include "support/FakeShortcutsPortal.h"
#include "support/PrivateSession.h"
#include "support/Screenshot.h"
#include "support/TempHome.h"
#include "support/X11Client.h"
#include "support/XvfbSession.h"

#include <QDBusObjectPath>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>
#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace {

const QString artefacts = QStringLiteral(MARQUETTO_TEST_ARTEFACTS_DIR);

bool waitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds timeout = std::chrono::seconds(10))
{
    const QDeadlineTimer deadline(timeout);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

void xdotool(const QStringList& arguments)
{
    QProcess::execute(QStringLiteral("xdotool"), arguments);
}

Tile scriptTile(const QString& command)
{
    Tile tile;
    tile.action = TileAction{TileAction::RunScript{command, false}};
    return tile;
}

class DeckOnX11 : public TempHome {
protected:
    void SetUp() override
    {
        const QStringList missing = XvfbSession::missingPrograms() + missingXdotool();
        if (!missing.isEmpty())
            GTEST_SKIP() << "needs " << missing.join(u", ").toStdString();
        ASSERT_TRUE(m_session.isReady()) << m_session.error().toStdString();
        ASSERT_TRUE(m_x.start()) << m_x.error().toStdString();
        QDir().mkpath(artefacts);
    }

    void TearDown() override
    {
        if (m_deck.state() != QProcess::NotRunning) {
            m_deck.terminate();
            if (!m_deck.waitForFinished(5000))
                m_deck.kill();
            m_deck.waitForFinished(5000);
        }
    }

    static QStringList missingXdotool()
    {
        return QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()
                   ? QStringList{QStringLiteral("xdotool")}
                   : QStringList{};
    }

    void writeLayout(const Pages& pages, const QJsonObject& preferences = {})
    {
        QDir().mkpath(m_paths.supportDir());
        QDir().mkpath(m_paths.configDir());
        QFile layout(m_paths.tilesFile());
        ASSERT_TRUE(layout.open(QIODevice::WriteOnly));
        layout.write(TileCoding::layoutBytes(pages));
        layout.close();
        QFile settings(m_paths.preferencesFile());
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write(QJsonDocument(preferences).toJson());
    }

    // `desktop` is what XDG_CURRENT_DESKTOP says; none when empty.
    void startDeck(const QString& desktop = {}, const QString& sessionType = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS", "QT_QPA_PLATFORM", "XDG_CURRENT_DESKTOP"})
            environment.remove(QLatin1String(name));
        if (!desktop.isEmpty())
            environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), desktop);
        if (!sessionType.isEmpty())
            environment.insert(QStringLiteral("XDG_SESSION_TYPE"), sessionType);
        environment.insert(QStringLiteral("HOME"), m_paths.home);
        m_deck.setProcessEnvironment(environment);
        m_deck.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_deck.start(QStringLiteral(MARQUETTO_PATH), {});
        ASSERT_TRUE(m_deck.waitForStarted());
        ASSERT_TRUE(waitFor([this] { return state().has_value(); })) << "the deck never answered";
    }

    std::optional<QJsonObject> state()
    {
        const DeckRun run = runDeck(m_paths.home, {QStringLiteral("state")});
        if (run.status != 0)
            return std::nullopt;
        return QJsonDocument::fromJson(run.out).object();
    }

    QRect frame()
    {
        const QJsonArray frame = state().value_or(QJsonObject{}).value(QStringLiteral("frame")).toArray();
        return {frame[0].toInt(), frame[1].toInt(), frame[2].toInt(), frame[3].toInt()};
    }

    bool stateIs(const QString& key, const QJsonValue& value)
    {
        return waitFor([&] { return state().value_or(QJsonObject{}).value(key) == value; });
    }

    void screenshot(const QString& name)
    {
        saveScreenshot(artefacts + QLatin1Char('/') + name + QStringLiteral(".png"));
    }

    void moveTo(QPoint point)
    {
        xdotool({QStringLiteral("mousemove"), QString::number(point.x()), QString::number(point.y())});
    }

    // Presses at `from` and moves in steps to `to`, the button held; the button stays down.
    void pressAndDrag(QPoint from, QPoint to)
    {
        moveTo(from);
        xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
        constexpr int steps = 6;
        for (int step = 1; step <= steps; ++step)
            moveTo(from + (to - from) * step / steps);
    }

    // The id of the tile in the slot, as the running deck prints it.
    static QUuid idAt(const QString& home, int page, int index)
    {
        const DeckRun print = runDeck(home, {QStringLiteral("print")});
        const QJsonValue slot = QJsonDocument::fromJson(print.out)[QStringLiteral("pages")][page][index];
        return QUuid::fromString(slot[QStringLiteral("tile")][QStringLiteral("id")].toString());
    }

    // Whether the running deck has the shared object `fileName` loaded.
    bool hasLoaded(const QString& fileName)
    {
        QFile maps(QStringLiteral("/proc/%1/maps").arg(m_deck.processId()));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(fileName.toUtf8());
    }

    PrivateSession m_session;
    XvfbSession m_x;
    QProcess m_deck;
};

} // namespace

TEST_F(DeckOnX11, ClicksHotKeysAndTheScrollWheelRunTilesAndFlipPages)
{
    const QString clicked = m_paths.home + QStringLiteral("/clicked");
    const QString keyed = m_paths.home + QStringLiteral("/keyed");
    writeLayout({{scriptTile(QStringLiteral("env > '%1.tmp' && mv '%1.tmp' '%1'").arg(clicked)),
                  scriptTile(QStringLiteral("echo two > '%1'").arg(keyed))},
                 {}});
    startDeck();
    const QRect deck = frame();
    // The page, the dots row and the band, 10 apart inside margins of 14.
    ASSERT_EQ(deck.size(), QSize(360, 448));
    screenshot(QStringLiteral("deck-shown"));

    // The first tile's centre: the deck's padding plus half a tile of 104 points.
    moveTo(deck.topLeft() + QPoint(14 + 52, 14 + 52));
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(waitFor([&] { return QFile::exists(clicked); })) << "a click on tile 1 ran nothing";
    // What the deck starts lives in the test's own session, not in the desktop the tests were started from.
    const QStringList environment = QString::fromLocal8Bit(readFile(clicked)).split(u'\n');
    EXPECT_TRUE(environment.contains(QStringLiteral("XDG_RUNTIME_DIR=") + m_session.runtimeDir()));
    EXPECT_TRUE(environment.contains(QStringLiteral("DBUS_SESSION_BUS_ADDRESS=") +
                                     qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS")));
    EXPECT_TRUE(environment.filter(QRegularExpression(QStringLiteral("^WAYLAND_DISPLAY="))).isEmpty());
    EXPECT_TRUE(environment.contains(QStringLiteral("PULSE_SERVER=") + qEnvironmentVariable("PULSE_SERVER")));
    screenshot(QStringLiteral("tile-clicked"));

    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+alt+2")});
    EXPECT_TRUE(waitFor([&] { return QFile::exists(keyed); })) << "Control-Alt-2 ran nothing";
    const QJsonObject keys = state().value_or(QJsonObject{}).value(QStringLiteral("hotKeys")).toObject();
    EXPECT_EQ(keys.value(QStringLiteral("mechanism")), QStringLiteral("x11"));
    EXPECT_EQ(keys.value(QStringLiteral("triggers"))[QStringLiteral("2")], QStringLiteral("CTRL+ALT+2"));

    moveTo(deck.center());
    xdotool({QStringLiteral("click"), QStringLiteral("5")});
    EXPECT_TRUE(stateIs(QStringLiteral("currentPage"), 1)) << "scrolling did not flip the page";
    screenshot(QStringLiteral("next-page"));

    // Launching the deck again brings the running one forward instead of starting a second.
    QProcess again;
    again.setProcessEnvironment(m_deck.processEnvironment());
    again.start(QStringLiteral(MARQUETTO_PATH), {});
    ASSERT_TRUE(again.waitForFinished(10000));
    EXPECT_EQ(again.exitCode(), 0);
    EXPECT_TRUE(stateIs(QStringLiteral("isSummoned"), true));
    screenshot(QStringLiteral("summoned"));
}

TEST_F(DeckOnX11, OnAWaylandSessionTheDesktopPortalsShortcutRunsItsTile)
{
    const QString keyed = m_paths.home + QStringLiteral("/keyed");
    writeLayout(
        {{scriptTile(QStringLiteral("true")), scriptTile(QStringLiteral("echo two > '%1'").arg(keyed))}});
    FakeShortcutsPortal portal(m_session.connect());
    portal.offer();
    startDeck({}, QStringLiteral("wayland"));
    ASSERT_TRUE(portal.createTheSession());
    ASSERT_TRUE(
        portal.bind({FakeShortcutsPortal::bound(QStringLiteral("tile-2"), QStringLiteral("Ctrl+Alt+2"))}));
    const auto hotKeys = [this] {
        return state().value_or(QJsonObject{}).value(QStringLiteral("hotKeys")).toObject();
    };
    ASSERT_TRUE(waitFor([&] {
        return hotKeys().value(QStringLiteral("triggers"))[QStringLiteral("2")] ==
               QStringLiteral("Ctrl+Alt+2");
    })) << QJsonDocument(hotKeys()).toJson().toStdString();
    EXPECT_EQ(hotKeys().value(QStringLiteral("mechanism")), QStringLiteral("portal"));

    portal.emitShortcutSignal(QStringLiteral("Activated"),
                              {QVariant::fromValue(QDBusObjectPath(FakeShortcutsPortal::sessionPath)),
                               QStringLiteral("tile-2"), qulonglong(1), QVariantMap{}});
    EXPECT_TRUE(waitFor([&] { return QFile::exists(keyed); })) << "the portal's tile-2 ran nothing";
    screenshot(QStringLiteral("wayland-tile-2"));
}

TEST_F(DeckOnX11, TheCompactChipUnfoldsUnderThePointerAndFoldsWhenItLeaves)
{
    writeLayout({{scriptTile(QStringLiteral("true"))}}, {{QStringLiteral("isCompact"), true}});
    moveTo({5, 5});
    startDeck();
    EXPECT_TRUE(stateIs(QStringLiteral("isExpanded"), false));
    const QRect chip = frame();
    screenshot(QStringLiteral("chip"));

    moveTo(chip.center());
    EXPECT_TRUE(stateIs(QStringLiteral("isExpanded"), true)) << "the chip did not unfold";
    screenshot(QStringLiteral("chip-unfolded"));

    moveTo({5, 5});
    EXPECT_TRUE(stateIs(QStringLiteral("isExpanded"), false)) << "the deck did not fold again";
}

TEST_F(DeckOnX11, AClickOnAnEmptyTileOpensItsEditorAndSavingPutsTheTileOnTheDeck)
{
    writeLayout({{}});
    startDeck();
    EXPECT_EQ(state().value_or(QJsonObject{}).value(QStringLiteral("editor")), QJsonValue::Null);
    const QRect deck = frame();

    moveTo(deck.topLeft() + QPoint(14 + 52, 14 + 52));
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(stateIs(QStringLiteral("editor"),
                        QJsonObject{{QStringLiteral("page"), 0}, {QStringLiteral("index"), 0}}))
        << "no editor opened on the empty tile";
    // The window is found by its title, and keys reach it only if it took the keyboard, which the deck never
    // does.
    xdotool({QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--name"),
             QStringLiteral("^Page 1 \u00B7 Tile 1$")});
    screenshot(QStringLiteral("editor-open"));

    // From "Empty", three kinds down is "Open URL"; its address field follows the kind.
    xdotool({QStringLiteral("key"), QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"),
             QStringLiteral("Tab"), QStringLiteral("ctrl+a")});
    xdotool({QStringLiteral("type"), QStringLiteral("https://example.org/deck")});
    screenshot(QStringLiteral("editor-filled"));
    xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    ASSERT_TRUE(stateIs(QStringLiteral("editor"), QJsonValue::Null)) << "Return did not save and close";

    const DeckRun print = runDeck(m_paths.home, {QStringLiteral("print")});
    ASSERT_EQ(print.status, 0);
    const QJsonValue slot = QJsonDocument::fromJson(print.out)[QStringLiteral("pages")][0][0];
    EXPECT_EQ(slot[QStringLiteral("tile")][QStringLiteral("action")][QStringLiteral("openURL")]
                  [QStringLiteral("urlString")],
              QStringLiteral("https://example.org/deck"))
        << print.out.toStdString();
    screenshot(QStringLiteral("editor-saved"));
}

TEST_F(DeckOnX11, InEditModeADraggedTileSwapsWithItsTargetAlsoOnThePageTheEdgeFlipsTo)
{
    const Tile first = scriptTile(QStringLiteral("true"));
    const Tile second = scriptTile(QStringLiteral("true"));
    const Tile third = scriptTile(QStringLiteral("true"));
    writeLayout({{first, second, third}, {}});
    startDeck();
    ASSERT_EQ(runDeck(m_paths.home, {QStringLiteral("edit"), QStringLiteral("on")}).status, 0);
    ASSERT_TRUE(stateIs(QStringLiteral("isEditing"), true));
    const QPoint deck = frame().topLeft();
    // Slot centres of the 3 × 3 deck: the padding of 14 plus half a tile of 104, in steps of 114.
    const auto centre = [&deck](int column) { return deck + QPoint(14 + 52 + 114 * column, 14 + 52); };

    // Escape during the drag reaches the deck, which never has the focus, and the drop changes nothing.
    pressAndDrag(centre(0), centre(1));
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    EXPECT_EQ(idAt(m_paths.home, 0, 1), second.id) << "Escape did not cancel the drag";

    pressAndDrag(centre(0), centre(2));
    screenshot(QStringLiteral("tile-dragged"));
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    EXPECT_TRUE(waitFor([&] { return idAt(m_paths.home, 0, 2) == first.id; })) << "the drop swapped nothing";
    EXPECT_EQ(idAt(m_paths.home, 0, 0), third.id);

    // Held 10 points from the deck's right edge, the tile is carried to the next page.
    pressAndDrag(centre(1), deck + QPoint(360 - 10, 14 + 52));
    EXPECT_TRUE(stateIs(QStringLiteral("currentPage"), 1)) << "resting at the edge flipped no page";
    screenshot(QStringLiteral("tile-carried"));
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    EXPECT_TRUE(waitFor([&] { return idAt(m_paths.home, 1, 2) == second.id; }))
        << "the tile did not land on the second page";
    EXPECT_EQ(state().value_or(QJsonObject{}).value(QStringLiteral("currentPage")), 1);
}

TEST_F(DeckOnX11, TheGlassTakesItsTintFromTheWallpaperOfEachWorkspace)
{
    const auto showPicture = [this](const QColor& colour) {
        const QString picture = m_paths.home + QStringLiteral("/wallpaper-%1.png").arg(colour.name().mid(1));
        QImage image(64, 64, QImage::Format_ARGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(picture));
        writeFile(m_paths.configHome + QStringLiteral("/plasma-org.kde.plasma.desktop-appletsrc"),
                  "[Containments][1]\nlastScreen=0\n\n[Containments][1][Wallpaper][org.kde.image][General]\n"
                  "Image=file://" +
                      picture.toUtf8() + "\n");
    };
    showPicture(Qt::red);
    writeLayout({{scriptTile(QStringLiteral("true"))}}, {{QStringLiteral("chameleonGlass"), true}});
    startDeck(QStringLiteral("KDE"));
    EXPECT_TRUE(stateIs(QStringLiteral("tint"), QStringLiteral("#B82525")))
        << "no tint from the red wallpaper";
    screenshot(QStringLiteral("tint-red"));

    // The other workspace shows another picture: the tint follows at once, not after the 15-second check.
    showPicture(Qt::blue);
    X11Client client;
    client.set(client.root(), "_NET_CURRENT_DESKTOP", XCB_ATOM_CARDINAL, {1});
    client.sync();
    EXPECT_TRUE(stateIs(QStringLiteral("tint"), QStringLiteral("#2525B8")))
        << "the workspace change did not sample the wallpaper";
    screenshot(QStringLiteral("tint-blue"));
}

TEST_F(DeckOnX11, ANowPlayingTileShowsWhatPlaysAndPausesItAndAnApplicationTileLightsWhileItRuns)
{
    const QString cover = m_paths.home + QStringLiteral("/cover.png");
    QImage red(64, 64, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(cover));
    QProcess player;
    player.start(QStringLiteral(MARQUETTO_TEST_PLAYER_PATH),
                 {QStringLiteral("Blue in Green"), QStringLiteral("Bill Evans"), cover});
    ASSERT_TRUE(player.waitForStarted());

    Tile nowPlaying;
    nowPlaying.action = TileAction{TileAction::NowPlaying{}};
    // A symbol face: an application's own icon would carry no light.
    Tile application;
    application.icon = TileIcon{TileIcon::Symbol{QStringLiteral("star"), QStringLiteral("#FFFFFF")}};
    application.action = TileAction{TileAction::LaunchApp{QStringLiteral(MARQUETTO_TEST_WINDOW_PATH)}};
    writeLayout({{nowPlaying, application}});
    startDeck();

    const auto playing = [this] {
        return state().value_or(QJsonObject{}).value(QStringLiteral("nowPlaying")).toObject();
    };
    ASSERT_TRUE(waitFor([&] {
        return playing().value(QStringLiteral("title")).toString() == u"Blue in Green";
    })) << "the deck never showed what the player plays";
    EXPECT_EQ(playing().value(QStringLiteral("artist")), QStringLiteral("Bill Evans"));
    EXPECT_EQ(playing().value(QStringLiteral("isPlaying")), true);
    const QPoint tile = frame().topLeft() + QPoint(14 + 52, 14 + 52);
    EXPECT_TRUE(waitFor([&] {
        const std::optional<QImage> screen = grabScreen();
        const QColor shown = screen ? screen->pixelColor(tile - QPoint(10, 10)) : QColor();
        return shown.red() > 200 && shown.green() < 60;
    })) << "the artwork never filled the tile";
    screenshot(QStringLiteral("now-playing"));

    moveTo(tile);
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    QByteArray commands;
    EXPECT_TRUE(waitFor([&] {
        player.waitForReadyRead(50);
        commands += player.readAllStandardOutput();
        return commands.contains("called PlayPause");
    })) << "the click never reached the player";
    // The deck asks again shortly after the press, without waiting for its five-second poll.
    EXPECT_TRUE(waitFor([&] { return playing().value(QStringLiteral("isPlaying")) == false; },
                        std::chrono::seconds(3)));
    screenshot(QStringLiteral("now-playing-paused"));

    const auto lit = [this] { return state().value_or(QJsonObject{}).value(QStringLiteral("lit")); };
    EXPECT_EQ(lit(), QJsonArray());
    QProcess window;
    window.start(QStringLiteral(MARQUETTO_TEST_WINDOW_PATH), {});
    ASSERT_TRUE(window.waitForStarted());
    EXPECT_TRUE(waitFor([&] { return lit() == QJsonArray{1}; }, std::chrono::seconds(5)))
        << "the application tile did not light while its program ran";
    // The light fades in over 0.28 s.
    QThread::msleep(400);
    screenshot(QStringLiteral("application-lit"));
    window.kill();
    window.waitForFinished();
    EXPECT_TRUE(waitFor([&] { return lit() == QJsonArray(); }, std::chrono::seconds(5)))
        << "the light stayed on after the program ended";
    player.kill();
    player.waitForFinished();
}

TEST_F(DeckOnX11, TheBandShowsTheMachinesFiguresAsItsOwnToolsDo)
{
    writeLayout({{scriptTile(QStringLiteral("true"))}},
                {{QStringLiteral("showBand"), true},
                 {QStringLiteral("bandModules"),
                  QJsonArray{QStringLiteral("cpuLoad"), QStringLiteral("memory"), QStringLiteral("uptime"),
                             QStringLiteral("dayProgress")}}});
    startDeck();
    QJsonArray modules;
    // Memory is read as soon as the band shows; until then it reads 0 %.
    ASSERT_TRUE(waitFor([&] {
        const DeckRun run = runDeck(m_paths.home, {QStringLiteral("band")});
        modules = QJsonDocument::fromJson(run.out)[QStringLiteral("modules")].toArray();
        return modules.size() == 4 && modules[1][QStringLiteral("text")] != QStringLiteral("RAM 0%");
    })) << "the band never showed the memory in use";
    screenshot(QStringLiteral("band"));

    QStringList names;
    for (const QJsonValue& module : modules)
        names << module[QStringLiteral("module")].toString();
    EXPECT_EQ(names, (QStringList{QStringLiteral("cpuLoad"), QStringLiteral("memory"),
                                  QStringLiteral("uptime"), QStringLiteral("dayProgress")}));
    EXPECT_TRUE(modules[2][QStringLiteral("text")].toString().startsWith(QStringLiteral("UPTIME ")));
    EXPECT_TRUE(modules[3][QStringLiteral("text")].toString().startsWith(QStringLiteral("DAY ")));

    // Other programs come and go between the band's sample and this one: asked again until the two meet.
    const auto inUse = [] {
        const QString meminfo = QString::fromLatin1(readFile(QStringLiteral("/proc/meminfo")));
        const auto kilobytes = [&](const char* field) {
            const QRegularExpression line(QLatin1String(field) + QStringLiteral(":\\s+(\\d+) kB"));
            return line.match(meminfo).captured(1).toDouble();
        };
        return 100 * (1 - kilobytes("MemAvailable") / kilobytes("MemTotal"));
    };
    QString memory;
    EXPECT_TRUE(waitFor([&] {
        const DeckRun run = runDeck(m_paths.home, {QStringLiteral("band")});
        memory =
            QJsonDocument::fromJson(run.out)[QStringLiteral("modules")][1][QStringLiteral("text")].toString();
        const QRegularExpressionMatch shown =
            QRegularExpression(QStringLiteral("^RAM (\\d+)%$")).match(memory);
        return shown.hasMatch() && std::abs(shown.captured(1).toDouble() - inUse()) <= 3;
    })) << memory.toStdString()
        << " is not the memory in use as /proc/meminfo has it";
}

TEST_F(DeckOnX11, TheDesktopsCalendarsComeFromTheirModuleOnceTheMeetingModuleShows)
{
    writeLayout({{scriptTile(QStringLiteral("true"))}},
                {{QStringLiteral("showBand"), true},
                 {QStringLiteral("bandModules"), QJsonArray{QStringLiteral("nextMeeting")}}});
    startDeck();
    // The module takes all but its own code from the deck: a symbol the deck does not export fails its load.
    EXPECT_TRUE(waitFor([&] { return hasLoaded(QStringLiteral("marquetto-eds.so")); }))
        << "the calendar module never loaded";
    EXPECT_TRUE(waitFor([&] {
        const DeckRun run = runDeck(m_paths.home, {QStringLiteral("band")});
        const QJsonValue module = QJsonDocument::fromJson(run.out)[QStringLiteral("modules")][0];
        return module[QStringLiteral("text")] == QStringLiteral("No meetings today");
    })) << "the meeting module never read the calendars";
}

TEST_F(DeckOnX11, SettingsOpenFromTheDecksMenuAndShowEachTab)
{
    writeLayout({{scriptTile(QStringLiteral("true"))}});
    startDeck();
    const QRect deck = frame();
    // Without a tray the deck's own menu ends with the status items: "Settings…" is the third from the end in
    // a build without a web site or updates page.
    moveTo(deck.topLeft() + QPoint(4, 4));
    xdotool({QStringLiteral("click"), QStringLiteral("3")});
    xdotool({QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
             QStringLiteral("--class"), QStringLiteral("marquetto")});
    for (int step = 0; step < 3; ++step)
        xdotool({QStringLiteral("key"), QStringLiteral("Up")});
    xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    ASSERT_TRUE(stateIs(QStringLiteral("settingsOpen"), true)) << "the settings window did not open";
    EXPECT_TRUE(stateIs(QStringLiteral("settingsTab"), QStringLiteral("General")));
    screenshot(QStringLiteral("settings-general"));

    for (const QString& tab :
         {QStringLiteral("Appearance"), QStringLiteral("Layout"), QStringLiteral("Feedback")}) {
        EXPECT_EQ(runDeck(m_paths.home, {QStringLiteral("settings"), tab}).status, 0);
        EXPECT_TRUE(stateIs(QStringLiteral("settingsTab"), tab));
        screenshot(QStringLiteral("settings-") + tab.toLower());
    }
}

TEST_F(DeckOnX11, AFreshHomeOnXfceStartsFromThePanelsLaunchersWithTheDefaultBand)
{
    // Xfce copies each launcher it pins into the panel's own folder, one folder a launcher plugin.
    struct Launcher {
        const char* name;
        const char* icon;
    };
    const std::array launchers{Launcher{"Terminal", "utilities-terminal"},
                               Launcher{"Files", "system-file-manager"},
                               Launcher{"Web Browser", "web-browser"},
                               Launcher{"Mail", "emblem-mail"},
                               Launcher{"Text Editor", "accessories-text-editor"},
                               Launcher{"Calculator", "accessories-calculator"}};
    QString items;
    for (size_t index = 0; index < launchers.size(); ++index) {
        writeFile(m_paths.configHome +
                      QStringLiteral("/xfce4/panel/launcher-%1/launcher.desktop").arg(index + 1),
                  QByteArray("[Desktop Entry]\nType=Application\nExec=true\nName=") + launchers[index].name +
                      "\nIcon=" + launchers[index].icon + '\n');
        items += QStringLiteral(R"(<value type="int" value="%1"/>)").arg(index + 1);
    }
    QString plugins;
    for (size_t index = 0; index < launchers.size(); ++index)
        plugins += QStringLiteral(R"(<property name="plugin-%1" type="string" value="launcher">
<property name="items" type="array"><value type="string" value="launcher.desktop"/></property></property>)")
                       .arg(index + 1);
    writeFile(m_paths.configHome + QStringLiteral("/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml"),
              QStringLiteral(R"(<?xml version="1.0"?><channel name="xfce4-panel" version="1.0">
<property name="panels" type="array"><value type="int" value="1"/>
<property name="panel-1" type="empty"><property name="plugin-ids" type="array">%1</property></property></property>
<property name="plugins" type="empty">%2</property></channel>)")
                  .arg(items, plugins)
                  .toUtf8());

    startDeck(QStringLiteral("XFCE"));
    const QJsonArray slots = QJsonDocument::fromJson(runDeck(m_paths.home, {QStringLiteral("print")}).out)
                                 .object()[QStringLiteral("pages")][0]
                                 .toArray();
    QStringList labels;
    for (const QJsonValue& slot : slots)
        if (slot[QStringLiteral("defaultLabel")].isString())
            labels << slot[QStringLiteral("defaultLabel")].toString();
    EXPECT_EQ(labels, (QStringList{QStringLiteral("Terminal"), QStringLiteral("Files"),
                                   QStringLiteral("Web Browser"), QStringLiteral("Mail"),
                                   QStringLiteral("Text Editor"), QStringLiteral("Calculator")}));

    QStringList modules;
    ASSERT_TRUE(waitFor([&] {
        modules.clear();
        const DeckRun run = runDeck(m_paths.home, {QStringLiteral("band")});
        for (const QJsonValue& module : QJsonDocument::fromJson(run.out)[QStringLiteral("modules")].toArray())
            modules << module[QStringLiteral("module")].toString();
        return !modules.isEmpty();
    })) << "the band never showed";
    EXPECT_EQ(modules,
              (QStringList{QStringLiteral("micMute"), QStringLiteral("volumeDown"),
                           QStringLiteral("volumeUp"), QStringLiteral("dateTime"), QStringLiteral("focus")}));
    EXPECT_FALSE(hasLoaded(QStringLiteral("marquetto-eds.so")))
        << "a band without meetings loads no calendars";

    // The picture for the README: the deck alone, once the first tile's icon is drawn over its plate.
    const QRect deck = frame();
    std::optional<QImage> shown;
    const auto iconDrawn = [&] {
        shown = grabScreen();
        if (!shown)
            return false;
        // Icons differ in colour, so any part of the tile far from its plate's shade counts.
        const QPoint tile = deck.topLeft() + QPoint(14, 14);
        const int plate = shown->pixelColor(tile + QPoint(4, 4)).lightness();
        for (int y = 8; y < 96; y += 4)
            for (int x = 8; x < 96; x += 4)
                if (std::abs(shown->pixelColor(tile + QPoint(x, y)).lightness() - plate) > 60)
                    return true;
        return false;
    };
    EXPECT_TRUE(waitFor(iconDrawn)) << "the first tile never drew its icon";
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->copy(deck).save(artefacts + QStringLiteral("/first-run.png")));
}
