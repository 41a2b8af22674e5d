#include "model/Models.h"

#include <gtest/gtest.h>

namespace {

using A = TileAction;

struct TextCase {
    const char* name;
    TileAction action;
    QString defaultLabel;
    QString tooltip;
};

void PrintTo(const TextCase& c, std::ostream* os)
{
    *os << c.name;
}

QString repeated(QChar c, int count)
{
    return QString(count, c);
}

const QString ellipsis = QStringLiteral("\u2026");
// Applications known by their paths alone.
const NoApplicationNames noNames;

} // namespace

class DerivedTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(DerivedTexts, MatchDefaultLabelAndTooltip)
{
    const TextCase& c = GetParam();
    EXPECT_EQ(c.action.defaultLabel(noNames), c.defaultLabel);
    EXPECT_EQ(c.action.tooltipDescription(noNames), c.tooltip);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCase, DerivedTexts,
    ::testing::Values(
        TextCase{"desktopEntry",
                 {A::LaunchApp{QStringLiteral("/usr/share/applications/org.gnome.Maps.desktop")}},
                 QStringLiteral("org.gnome.Maps"),
                 QStringLiteral("org.gnome.Maps")},
        TextCase{"file",
                 {A::OpenFile{QStringLiteral("/home/me/Notes.txt")}},
                 QStringLiteral("Notes.txt"),
                 QStringLiteral("Notes.txt")},
        TextCase{"webAddress",
                 {A::OpenURL{QStringLiteral("https://www.example.org/mac?x=1")}},
                 QStringLiteral("www.example.org"),
                 QStringLiteral("www.example.org")},
        TextCase{"noHost",
                 {A::OpenURL{QStringLiteral("mailto:me@example.org")}},
                 QStringLiteral("mailto:me@example.org"),
                 QStringLiteral("mailto:me@example.org")},
        TextCase{"albumWithArtist",
                 {A::PlayAlbum{QStringLiteral("Blue"), QStringLiteral("Joni")}},
                 QStringLiteral("Blue"),
                 QStringLiteral("Blue \u2014 Joni")},
        TextCase{"scriptSkipsBlankLines",
                 {A::RunScript{QStringLiteral("\n  \t \r\n\t echo hi  \nexit"), false}},
                 QStringLiteral("Script"),
                 QStringLiteral("echo hi")},
        TextCase{"script45",
                 {A::RunScript{repeated(u'x', 45), false}},
                 QStringLiteral("Script"),
                 repeated(u'x', 44) + ellipsis},
        TextCase{"threeSteps",
                 {A::Sequence{{{A::NowPlaying{}}, {A::RunShortcut{QStringLiteral("Tea")}}, {A::Sequence{}}}}},
                 QStringLiteral("Scene"),
                 QStringLiteral("Now Playing, Tea, Scene")},
        TextCase{"fourSteps",
                 {A::Sequence{{{A::NowPlaying{}},
                               {A::RunShortcut{QStringLiteral("Tea")}},
                               {A::Sequence{}},
                               {A::Snippet{QStringLiteral("hidden")}}}}},
                 QStringLiteral("Scene"),
                 QStringLiteral("Now Playing, Tea, Scene\u2026")},
        TextCase{"bluetoothUnnamed",
                 {A::ConnectBluetooth{QStringLiteral("AA:BB"), {}}},
                 QStringLiteral("Bluetooth"),
                 QStringLiteral("Bluetooth device")},
        TextCase{"snippet18",
                 {A::Snippet{QStringLiteral("\n\n  ") + repeated(u'a', 18) + QStringLiteral("\t\nrest")}},
                 repeated(u'a', 18),
                 repeated(u'a', 18)},
        TextCase{
            "snippet19", {A::Snippet{repeated(u'a', 19)}}, repeated(u'a', 18) + ellipsis, repeated(u'a', 19)},
        TextCase{"snippetFirstLineBlank",
                 {A::Snippet{QStringLiteral("   \u2028second line")}},
                 QStringLiteral("Snippet"),
                 QStringLiteral("second line")},
        TextCase{"emptySnippet", {A::Snippet{}}, QStringLiteral("Snippet"), QStringLiteral("Snippet")}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

TEST(DerivedTexts, CountUserPerceivedCharactersNotCodeUnits)
{
    // Nineteen family emoji, each several code points, and a combining accent: cut after the eighteenth.
    const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467");
    QString nineteen;
    for (int i = 0; i < 19; ++i)
        nineteen += family;
    QString eighteen = nineteen.left(18 * family.size());
    EXPECT_EQ((TileAction{TileAction::Snippet{nineteen}}.defaultLabel(noNames)), eighteen + ellipsis);
    EXPECT_EQ((TileAction{TileAction::Snippet{eighteen}}.defaultLabel(noNames)), eighteen);

    const QString accented = QStringLiteral("e\u0301");
    QString fortyFour;
    for (int i = 0; i < 44; ++i)
        fortyFour += accented;
    EXPECT_EQ((TileAction{TileAction::RunScript{fortyFour, false}}.tooltipDescription(noNames)), fortyFour);
}

TEST(Tile, TooltipTextPrefersTheLabelAndSkipsEmptySlots)
{
    Tile tile;
    EXPECT_EQ(tile.tooltipText(noNames), std::nullopt);
    tile.label = QStringLiteral("Named but empty");
    EXPECT_EQ(tile.tooltipText(noNames), std::nullopt);
    tile.action = TileAction{TileAction::OpenFile{QStringLiteral("/tmp/a.txt")}};
    EXPECT_EQ(tile.tooltipText(noNames), QStringLiteral("Named but empty"));
    tile.label.clear();
    EXPECT_EQ(tile.tooltipText(noNames), QStringLiteral("a.txt"));
}
