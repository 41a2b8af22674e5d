// The deck on X11 answering the pointer and the keys: clicks, hot keys, the wheel, the chip, the editor and
// drags.
#include "DeckOnX11Fixture.h"

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
