#include "model/TileCoding.h"

#include "core/CanonicalJson.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

namespace {

using A = TileAction;

const QString someId = QStringLiteral("0F2B5C1E-9A3D-4E6F-8B7A-1C2D3E4F5A6B");

Tile tileWith(std::optional<TileAction> action, TileIcon icon = {})
{
    return Tile{QUuid::fromString(someId), QStringLiteral("Label"), std::move(icon), std::move(action)};
}

TileCoding::Decoded<Tile> decodeText(const char* json)
{
    const auto value = TileCoding::parse(QByteArray(json));
    if (!value)
        return Unexpected{value.error()};
    return TileCoding::decodeTile(*value);
}

std::string errorOf(const char* json)
{
    const auto decoded = decodeText(json);
    return decoded ? std::string("decoded") : decoded.error().description().toStdString();
}

} // namespace

TEST(TileCoding, EveryCaseRoundTripsThroughTheLayoutBytes)
{
    const std::vector<TileIcon> icons{
        {TileIcon::Auto{}},
        {TileIcon::Symbol{QStringLiteral("star.fill"), QStringLiteral("#FFAA00")}},
        {TileIcon::Custom{QStringLiteral("logo.png")}},
        {TileIcon::Builder{QStringLiteral("#112233"), QStringLiteral("rocket")}},
    };
    const std::vector<TileAction> actions{
        {A::LaunchApp{QStringLiteral("/usr/share/applications/firefox.desktop")}},
        {A::OpenFile{QStringLiteral("/home/me/a b/c.pdf")}},
        {A::OpenURL{QStringLiteral("https://example.org/x?y=1")}},
        {A::PlayPlaylist{QStringLiteral("Chill")}},
        {A::PlayAlbum{QStringLiteral("Blue"), QStringLiteral("Joni")}},
        {A::NowPlaying{}},
        {A::RunSystemAction{SystemAction::darkModeToggle}},
        {A::RunShortcut{QStringLiteral("Tea")}},
        {A::RunScript{QStringLiteral("echo \"hi\" > /tmp/x\n"), false}},
        {A::Sequence{{{A::NowPlaying{}}, {A::Sequence{{{A::Snippet{QStringLiteral("deep")}}}}}}}},
        {A::ConnectBluetooth{QStringLiteral("AA:BB:CC:DD:EE:FF"), QStringLiteral("Buds")}},
        {A::AudioOutput{QStringLiteral("alsa_output.usb"), QStringLiteral("Desk")}},
        {A::Snippet{QStringLiteral("caf\u00e9 \U0001F600\t\u2028")}},
    };
    Page page;
    for (const TileIcon& icon : icons)
        page.push_back(tileWith(std::nullopt, icon));
    for (const TileAction& action : actions)
        page.push_back(tileWith(action));
    const Pages pages{page, Page{}, Page{Tile{}}};

    const auto json = TileCoding::parse(TileCoding::layoutBytes(pages));
    ASSERT_TRUE(json);
    const auto decoded = TileCoding::decodePages(*json);
    ASSERT_TRUE(decoded) << decoded.error().description().toStdString();
    EXPECT_EQ(*decoded, pages);
}

TEST(TileCoding, WritesTheSharedShape)
{
    Tile tile = tileWith(A{A::LaunchApp{QStringLiteral("/Applications/Safari.app")}});
    tile.id = QUuid::fromString(someId.toLower());
    EXPECT_EQ(CanonicalJson::write(TileCoding::encode(tile)),
              R"({"action":{"launchApp":{"path":"\/Applications\/Safari.app"}},"icon":{"auto":{}},)"
              R"("id":"0F2B5C1E-9A3D-4E6F-8B7A-1C2D3E4F5A6B","label":"Label"})");

    const Tile empty = tileWith(std::nullopt);
    EXPECT_FALSE(TileCoding::encode(empty).contains(QStringLiteral("action")));
    EXPECT_EQ(CanonicalJson::write(TileCoding::encode(A{A::RunScript{QStringLiteral("x"), true}})),
              R"({"runScript":{"isAppleScript":true,"source":"x"}})");
    EXPECT_EQ(CanonicalJson::write(TileCoding::encode(A{A::RunSystemAction{SystemAction::snapCentre}})),
              R"({"systemAction":{"action":"snapCentre"}})");
}

TEST(TileCoding, ReadsWhatOtherWritersProduce)
{
    // Unescaped slashes, lower-case ids, any key order and whitespace, null action, extra members.
    const auto decoded =
        decodeText(R"( { "label" : "", "extra": 1, "id" : "0f2b5c1e-9a3d-4e6f-8b7a-1c2d3e4f5a6b",
        "icon" : { "auto" : { "ignored": true } }, "action" : null } )");
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, (Tile{QUuid::fromString(someId), {}, {}, std::nullopt}));

    const auto withStray = decodeText(R"({"id":"0F2B5C1E-9A3D-4E6F-8B7A-1C2D3E4F5A6B","label":"",
        "icon":{"auto":{}},"action":{"nowPlaying":{},"notACase":{"x":1}}})");
    ASSERT_TRUE(withStray);
    EXPECT_EQ(withStray->action, TileAction{A::NowPlaying{}});
}

TEST(TileCoding, RefusesMalformedTilesWithTheReason)
{
    const char* head =
        R"({"id":"0F2B5C1E-9A3D-4E6F-8B7A-1C2D3E4F5A6B","label":"","icon":{"auto":{}},"action":)";
    const auto withAction = [&](const char* action) {
        return errorOf((std::string(head) + action + "}").c_str());
    };

    EXPECT_EQ(withAction("{}"), "Invalid number of keys found, expected one. (at action)");
    EXPECT_EQ(withAction(R"({"openURL":{"urlString":"a"},"openFile":{"path":"b"}})"),
              "Invalid number of keys found, expected one. (at action)");
    EXPECT_EQ(withAction(R"({"playAlbum":{"name":"Blue"}})"),
              "No value associated with key \"artist\". (at action.playAlbum)");
    EXPECT_EQ(withAction(R"({"openURL":{"urlString":3}})"),
              "Expected a string but found a number. (at action.openURL.urlString)");
    EXPECT_EQ(withAction(R"({"runScript":{"source":"x","isAppleScript":1}})"),
              "Expected a boolean but found a number. (at action.runScript.isAppleScript)");
    EXPECT_EQ(
        withAction(R"({"systemAction":{"action":"reboot"}})"),
        "Cannot initialize SystemAction from invalid String value reboot (at action.systemAction.action)");
    EXPECT_EQ(withAction(R"({"nowPlaying":[]})"),
              "Expected an object but found an array. (at action.nowPlaying)");
    EXPECT_EQ(withAction(R"({"sequence":{"steps":[{"nowPlaying":{}},{"launch":{}}]}})"),
              "Invalid number of keys found, expected one. (at action.sequence.steps[1])");

    EXPECT_EQ(errorOf(R"({"id":"nope","label":"","icon":{"auto":{}}})"),
              "Attempted to decode UUID from invalid UUID string. (at id)");
    EXPECT_EQ(errorOf(R"({"id":"0F2B5C1E-9A3D-4E6F-8B7A-1C2D3E4F5A6B","icon":{"auto":{}}})"),
              "No value associated with key \"label\".");
    EXPECT_EQ(
        errorOf(R"({"id":"0F2B5C1E-9A3D-4E6F-8B7A-1C2D3E4F5A6B","label":"","icon":{"symbol":{"name":"x"}}})"),
        "No value associated with key \"hexColor\". (at icon.symbol)");
}

TEST(TileCoding, OneBadTileFailsTheWholeDeck)
{
    const QByteArray good = CanonicalJson::write(TileCoding::encode(tileWith(std::nullopt)));
    const QByteArray bad = R"({"id":"0F2B5C1E-9A3D-4E6F-8B7A-1C2D3E4F5A6B","label":"","icon":{"glyph":{}}})";
    const auto json = TileCoding::parse("[[" + good + "],[" + good + "," + bad + "]]");
    ASSERT_TRUE(json);
    const auto decoded = TileCoding::decodePages(*json);
    ASSERT_FALSE(decoded);
    EXPECT_EQ(decoded.error().path, QStringLiteral("[1][1].icon"));
}

TEST(TileCoding, HostileInputFailsCleanly)
{
    EXPECT_FALSE(TileCoding::parse("[[{\"id\":"));            // truncated mid-write
    EXPECT_FALSE(TileCoding::parse("[\"\xff\xfe\"]"));        // not UTF-8
    EXPECT_FALSE(TileCoding::parse(QByteArray(100000, '['))); // nested far too deep
    EXPECT_FALSE(TileCoding::decodePages(QJsonValue(QStringLiteral("pages"))));

    // Scenes nested as deep as the parser allows decode without exhausting the stack.
    QByteArray nested = R"({"nowPlaying":{}})";
    for (int depth = 0; depth < 300; ++depth)
        nested = R"({"sequence":{"steps":[)" + nested + "]}}";
    const auto json = TileCoding::parse(nested);
    ASSERT_TRUE(json);
    EXPECT_TRUE(TileCoding::decodeAction(*json));
}
