#include "ui/paint/SymbolGlyphs.h"

#include "band/BandCatalogue.h"
#include "band/BandSymbols.h"
#include "band/WeatherText.h"
#include "icons/IconResolver.h"
#include "platform/macos/MacTilePresets.h"
#include "support/QtPrinters.h"
#include "ui/paint/PhosphorFont.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

PhosphorFont& builtFont()
{
    static PhosphorFont font(QStringLiteral(MARQUETTO_PHOSPHOR_FONT),
                             QStringLiteral(MARQUETTO_PHOSPHOR_GLYPH_MAP));
    return font;
}

// What the deck's own views draw around the tiles and the band: page arrows, the customise window's
// buttons, the settings tabs, the setup window's status, the artwork's play button, the weather before
// its first answer.
const char* const chromeSymbols[] = {
    "chevron.left",  "chevron.right", "chevron.up",  "chevron.down",     "plus",
    "xmark",         "minus.circle",  "plus.circle", "plus.circle.fill", "checkmark.circle.fill",
    "circle.dashed", "play.circle",   "play.fill",   "pause.fill",       "square.dashed",
    "globe",         "gearshape",     "paintbrush",  "square.grid.3x3",  "bubble.left.and.bubble.right",
    "cloud"};

QStringList symbolsTheDeckDraws()
{
    QStringList symbols;
    for (const char* symbol : chromeSymbols)
        symbols << QLatin1String(symbol);
    for (const BandSymbols::States& states : BandSymbols::all)
        symbols << states.of(false) << states.of(true);
    for (const BandModule module : BandCatalogue::allCases())
        symbols << BandCatalogue::symbol(module);
    for (int wmoCode = 0; wmoCode <= 99; ++wmoCode) {
        for (const bool isDay : {true, false})
            symbols << WeatherText::symbolName(wmoCode, isDay);
    }
    for (const SystemAction action : allSystemActions)
        symbols << IconResolver::autoSymbol(TileAction{TileAction::RunSystemAction{action}});
    for (const TileAction::Value& value :
         {TileAction::Value{TileAction::OpenURL{}}, TileAction::Value{TileAction::PlayPlaylist{}},
          TileAction::Value{TileAction::PlayAlbum{}}, TileAction::Value{TileAction::NowPlaying{}},
          TileAction::Value{TileAction::RunShortcut{}}, TileAction::Value{TileAction::RunScript{}},
          TileAction::Value{TileAction::Sequence{}}, TileAction::Value{TileAction::ConnectBluetooth{}},
          TileAction::Value{TileAction::AudioOutput{}}, TileAction::Value{TileAction::Snippet{}},
          TileAction::Value{TileAction::LaunchApp{}}})
        symbols << IconResolver::autoSymbol(TileAction{value});
    symbols << IconResolver::autoSymbol(std::nullopt);
    return symbols;
}

TEST(SymbolGlyphsTest, EverySymbolTheDeckDrawsHasAGlyphInTheBuiltFont)
{
    ASSERT_TRUE(QFile::exists(QStringLiteral(MARQUETTO_PHOSPHOR_GLYPH_MAP))) << "the icon font was not built";
    for (const QString& symbol : symbolsTheDeckDraws()) {
        const std::optional<QString> glyph = SymbolGlyphs::glyphName(symbol);
        ASSERT_TRUE(glyph) << symbol.toStdString();
        EXPECT_NE(builtFont().glyph(*glyph), QStringLiteral("?"))
            << symbol.toStdString() << " → " << glyph->toStdString();
    }
}

// The map is data: a glyph name misspelt in it would quietly drop its symbol from the picker.
TEST(SymbolGlyphsTest, EveryGlyphTheSymbolMapNamesIsInTheBuiltFont)
{
    QFile map(QStringLiteral(":/symbols/symbol-glyphs.json"));
    ASSERT_TRUE(map.open(QIODevice::ReadOnly));
    const QJsonObject root = QJsonDocument::fromJson(map.readAll()).object();
    int glyphs = 0;
    for (const char* list : {"offered", "drawnOnly"}) {
        for (const QJsonValue& row : root.value(QLatin1String(list)).toArray()) {
            const QString symbol = row.toArray().at(0).toString();
            const QString glyph = row.toArray().at(1).toString();
            EXPECT_FALSE(symbol.isEmpty()) << list;
            if (glyph.isEmpty())
                continue;
            ++glyphs;
            EXPECT_NE(builtFont().glyph(glyph), QStringLiteral("?")) << symbol.toStdString();
        }
    }
    EXPECT_GE(glyphs, 450);
}

// Each platform's library has the same glyphs in the same slots.
TEST(SymbolGlyphsTest, EveryPresetDrawsAGlyphOfTheBuiltFont)
{
    const QTemporaryDir home;
    for (const TilePreset& preset : MacTilePresets::catalogue(home.path())) {
        const TileIcon::Builder* builder = preset.icon.as<TileIcon::Builder>();
        ASSERT_TRUE(builder) << preset.id.toStdString();
        EXPECT_NE(builtFont().glyph(builder->iconName), QStringLiteral("?")) << preset.id.toStdString();
    }
}

TEST(SymbolGlyphsTest, AFullAndAnEmptyTrashDrawDifferentGlyphs)
{
    EXPECT_NE(SymbolGlyphs::text(builtFont(), BandSymbols::trash.of(false)),
              SymbolGlyphs::text(builtFont(), BandSymbols::trash.of(true)));
}

TEST(SymbolGlyphsTest, TheOfferedSymbolsLeaveOutThoseTheDeckOnlyDraws)
{
    const QStringList available = SymbolGlyphs::availableSymbols(builtFont());
    // Symbols the deck draws without offering them stay out of the catalogue.
    EXPECT_FALSE(available.contains(QStringLiteral("square.dashed")));
    EXPECT_FALSE(available.contains(QStringLiteral("airpods")));
}

} // namespace
