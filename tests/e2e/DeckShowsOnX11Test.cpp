// What the deck on X11 shows: its tint, now playing, lit tiles, the band, calendars, settings and a fresh
// home's tiles.
#include "DeckOnX11Fixture.h"

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
