#include "deck/EditorState.h"

#include "model/TilePreset.h"
#include "support/QtPrinters.h"
#include "support/StoreFixture.h"

#include <gtest/gtest.h>

namespace {

using A = TileAction;

Tile tileWith(std::optional<TileAction> action, TileIcon icon = {})
{
    Tile tile;
    tile.label = QStringLiteral("Mine");
    tile.icon = std::move(icon);
    tile.action = std::move(action);
    return tile;
}

TileIcon builder(const QString& hex, const QString& glyph)
{
    return {TileIcon::Builder{hex, glyph}};
}

TileIcon symbol(const QString& name, const QString& hex)
{
    return {TileIcon::Symbol{name, hex}};
}

class EditorStateSaving : public StoreFixture {};

TEST_F(EditorStateSaving, EveryKindOfTileComesBackUnchangedWithItsIdentity)
{
    TileStore& store = makeStore();
    const std::vector<std::pair<ActionKind, Tile>> cases{
        {ActionKind::empty, tileWith(std::nullopt)},
        {ActionKind::app, tileWith(A{A::LaunchApp{QStringLiteral("/usr/share/applications/x.desktop")}})},
        {ActionKind::file, tileWith(A{A::OpenFile{QStringLiteral("/home/me/notes")}})},
        {ActionKind::url, tileWith(A{A::OpenURL{QStringLiteral("https://example.org/")}})},
        {ActionKind::playlist,
         tileWith(A{A::PlayPlaylist{QStringLiteral("Mix")}}, {TileIcon::Custom{QStringLiteral("a.png")}})},
        {ActionKind::album,
         tileWith(A{A::PlayAlbum{QStringLiteral("Blue"), QStringLiteral("Joni")}},
                  {TileIcon::Symbol{QStringLiteral("music.note"), QStringLiteral("#FF8800")}})},
        {ActionKind::nowPlaying, tileWith(A{A::NowPlaying{}})},
        {ActionKind::system, tileWith(A{A::RunSystemAction{SystemAction::snapCentre}})},
        {ActionKind::bluetooth,
         tileWith(A{A::ConnectBluetooth{QStringLiteral("AA:BB:CC:DD:EE:FF"), QStringLiteral("Speaker")}})},
        {ActionKind::audioOutput, tileWith(A{A::AudioOutput{QStringLiteral("sink.usb"), QString()}})},
        {ActionKind::snippet, tileWith(A{A::Snippet{QStringLiteral("line one\nline two")}})},
        {ActionKind::shortcut, tileWith(A{A::RunShortcut{QStringLiteral("Focus")}})},
        {ActionKind::script,
         tileWith(A{A::RunScript{QStringLiteral("say hi"), true}},
                  {TileIcon::Builder{QStringLiteral("#123ABC"), QStringLiteral("star")}})},
        {ActionKind::scene,
         tileWith(A{A::Sequence{{A{A::OpenURL{QStringLiteral("https://b.example/")}}, A{A::NowPlaying{}}}}})},
    };
    for (const auto& [kind, tile] : cases) {
        SCOPED_TRACE(rawValue(kind).toStdString());
        store.set(tile, 0, 1);
        const EditorState state = EditorState::fromTile(store.tile(0, 1), 0, 1);
        EXPECT_EQ(state.kind, kind);
        state.save(store);
        EXPECT_EQ(store.tile(0, 1), tile);
    }
}

TEST_F(EditorStateSaving, TheEditedTileKeepsItsSlotsIdentityAndAsksForItsArtwork)
{
    TileStore& store = makeStore();
    const Tile before = tileWith(A{A::Snippet{QStringLiteral("x")}});
    store.set(before, 0, 2);
    EditorState state = EditorState::fromTile(store.tile(0, 2), 0, 2);
    state.kind = ActionKind::album;
    state.albumKey = AlbumEntry{QStringLiteral("Blue"), QStringLiteral("Joni")}.key();
    state.label.clear();
    state.save(store);

    const Tile after = store.tile(0, 2);
    EXPECT_EQ(after.id, before.id);
    EXPECT_EQ(after.label, QString()) << "an empty label stays empty";
    EXPECT_EQ(after.action, (A{A::PlayAlbum{QStringLiteral("Blue"), QStringLiteral("Joni")}}));
    EXPECT_EQ(m_music.requests, QStringList{QStringLiteral("album:Blue/Joni")});
}

struct PresenceCase {
    const char* name;
    std::function<void(EditorState&)> edit;
    std::optional<TileAction> expected;
};

TEST(EditorStateActions, RequiredFieldsDecideWhetherTheTileHasAnAction)
{
    const QChar separator(AlbumEntry::keySeparator);
    const std::vector<PresenceCase> cases{
        {"untouched address", [](EditorState& s) { s.kind = ActionKind::url; }, std::nullopt},
        {"typed address",
         [](EditorState& s) {
             s.kind = ActionKind::url;
             s.urlString = QStringLiteral("https://a.example");
         },
         A{A::OpenURL{QStringLiteral("https://a.example")}}},
        {"scene without steps", [](EditorState& s) { s.kind = ActionKind::scene; }, std::nullopt},
        {"album without separator",
         [](EditorState& s) {
             s.kind = ActionKind::album;
             s.albumKey = QStringLiteral("Blue");
         },
         A{A::PlayAlbum{QStringLiteral("Blue"), QString()}}},
        {"album without name",
         [separator](EditorState& s) {
             s.kind = ActionKind::album;
             s.albumKey = separator + QStringLiteral("Joni");
         },
         std::nullopt},
        {"blank but present script",
         [](EditorState& s) {
             s.kind = ActionKind::script;
             s.scriptSource = QStringLiteral(" ");
         },
         A{A::RunScript{QStringLiteral(" "), false}}},
        {"output without identifier",
         [](EditorState& s) {
             s.kind = ActionKind::audioOutput;
             s.outputName = QStringLiteral("Speakers");
         },
         std::nullopt},
        {"system action needs nothing", [](EditorState& s) { s.kind = ActionKind::system; },
         A{A::RunSystemAction{SystemAction::volumeUp}}},
        {"another kind's field counts for nothing",
         [](EditorState& s) {
             s.kind = ActionKind::app;
             s.filePath = QStringLiteral("/tmp");
         },
         std::nullopt},
    };
    for (const PresenceCase& presence : cases) {
        EditorState state;
        presence.edit(state);
        EXPECT_EQ(state.builtAction(), presence.expected) << presence.name;
    }
}

TEST(EditorStateIcons, AnIconFormWithoutItsNameOrFileSavesAsAutomaticAndBadColoursFallBack)
{
    EditorState state;
    state.iconKind = IconKind::symbol;
    state.symbolColor = QStringLiteral("#FF0000");
    EXPECT_TRUE(state.builtIcon().isAuto());
    state.iconKind = IconKind::custom;
    EXPECT_TRUE(state.builtIcon().isAuto());
    state.iconKind = IconKind::builder;
    EXPECT_TRUE(state.builtIcon().isAuto());

    state.builderIconName = QStringLiteral("star");
    EXPECT_EQ(state.builtIcon(), builder(QStringLiteral("#025BFF"), QStringLiteral("star")));
    state.builderColor = QStringLiteral("blue-ish");
    EXPECT_EQ(state.builtIcon(), builder(QStringLiteral("#007AFF"), QStringLiteral("star")));
    state.iconKind = IconKind::symbol;
    state.symbolName = QStringLiteral("bolt");
    state.symbolColor = QStringLiteral("#12345");
    EXPECT_EQ(state.builtIcon(), symbol(QStringLiteral("bolt"), QStringLiteral("#FFFFFF")));

    const EditorState loaded = EditorState::fromTile(
        tileWith(std::nullopt, {TileIcon::Builder{QStringLiteral("nope"), QStringLiteral("x")}}), 0, 0);
    EXPECT_EQ(loaded.builderColor, QStringLiteral("#007AFF"));
    const EditorState lowerCase = EditorState::fromTile(
        tileWith(std::nullopt, {TileIcon::Symbol{QStringLiteral("s"), QStringLiteral(" ff8800 ")}}), 0, 0);
    EXPECT_EQ(lowerCase.symbolColor, QStringLiteral("#FF8800"));
}

TEST(EditorStatePresets, APresetSetsTheActionAndLabelAndOnlyABuilderIconTouchesTheIcon)
{
    EditorState state;
    state.iconKind = IconKind::symbol;
    state.symbolName = QStringLiteral("bolt");
    TilePreset preset;
    preset.action = A{A::RunShortcut{QStringLiteral("Focus")}};
    preset.label = QStringLiteral("Focus");
    preset.icon = {TileIcon::Custom{QStringLiteral("x.png")}};
    state.applyPreset(preset);
    EXPECT_EQ(state.kind, ActionKind::shortcut);
    EXPECT_EQ(state.label, QStringLiteral("Focus"));
    EXPECT_EQ(state.builtIcon(), symbol(QStringLiteral("bolt"), QStringLiteral("#FFFFFF")));

    preset.action = A{A::OpenURL{QStringLiteral("https://x.example")}};
    preset.icon = {TileIcon::Builder{QStringLiteral("bad"), QStringLiteral("globe")}};
    state.applyPreset(preset);
    EXPECT_EQ(state.builtAction(), preset.action);
    EXPECT_EQ(state.shortcutName, QStringLiteral("Focus")) << "the other kind's field is kept";
    EXPECT_EQ(state.builtIcon(), builder(QStringLiteral("#007AFF"), QStringLiteral("globe")));
}

TEST(EditorStateAlbums, ASearchListsAtMostTwelveMatchesWithNamesThatBeginWithItFirst)
{
    EditorState state;
    for (int i = 0; i < 30; ++i)
        state.albums.push_back(
            {QStringLiteral("Album %1 Live").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("Band")});
    state.albums.push_back({QStringLiteral("zebra"), QStringLiteral("LIVE Crew")});
    state.albums.push_back({QStringLiteral("Other"), QStringLiteral("Nobody")});
    state.albums.push_back({QStringLiteral("live at home"), QStringLiteral("Solo")});
    state.albums.push_back({QStringLiteral("Live at Leeds"), QStringLiteral("The Who")});

    state.albumSearch = QStringLiteral("   ");
    EXPECT_TRUE(state.albumMatches().empty());

    state.albumSearch = QStringLiteral("  live ");
    const std::vector<AlbumEntry> matches = state.albumMatches();
    ASSERT_EQ(matches.size(), 12u);
    EXPECT_EQ(matches[0].name, QStringLiteral("live at home"));
    EXPECT_EQ(matches[1].name, QStringLiteral("Live at Leeds"));
    EXPECT_EQ(matches[2].name, QStringLiteral("Album 00 Live"));
    EXPECT_EQ(matches[11].name, QStringLiteral("Album 09 Live"));
}

TEST(EditorStateScene, StepsAreReplacedInPlaceAppendedWhenGoneMovedAndRemoved)
{
    const auto url = [](const char* host) {
        return A{A::OpenURL{QStringLiteral("https://") + QLatin1String(host)}};
    };
    EditorState state;
    state.saveStep(url("a"), std::nullopt);
    state.saveStep(url("b"), std::nullopt);
    state.saveStep(url("B"), 1);
    state.saveStep(url("c"), 7);
    EXPECT_EQ(state.sceneSteps, (std::vector{url("a"), url("B"), url("c")}));

    state.moveStepUp(0);
    state.moveStepDown(2);
    EXPECT_EQ(state.sceneSteps, (std::vector{url("a"), url("B"), url("c")})) << "the ends stay put";
    state.moveStepDown(0);
    state.moveStepUp(2);
    EXPECT_EQ(state.sceneSteps, (std::vector{url("B"), url("c"), url("a")}));
    state.removeStep(3);
    state.removeStep(-1);
    state.removeStep(1);
    EXPECT_EQ(state.sceneSteps, (std::vector{url("B"), url("a")}));
}

} // namespace
