#include "editing/SymbolGlyphs.h"

#include "band/BandCatalogue.h"
#include "band/WeatherText.h"
#include "editing/PhosphorFont.h"
#include "exchange/IconResolver.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

PhosphorFont& builtFont()
{
    static PhosphorFont font(QStringLiteral(MARQUETTO_PHOSPHOR_FONT),
                             QStringLiteral(MARQUETTO_PHOSPHOR_GLYPH_MAP));
    return font;
}

TEST(SymbolGlyphsTest, EverySymbolTheDeckDrawsHasAGlyphInTheBuiltFont)
{
    ASSERT_TRUE(QFile::exists(QStringLiteral(MARQUETTO_PHOSPHOR_GLYPH_MAP))) << "the icon font was not built";
    QStringList symbols{
        QStringLiteral("chevron.left"), QStringLiteral("chevron.right"), QStringLiteral("plus"),
        QStringLiteral("xmark"),        QStringLiteral("play.circle"),   QStringLiteral("play.fill"),
        QStringLiteral("pause.fill"),   QStringLiteral("square.dashed"), QStringLiteral("globe")};
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
    for (const BandModule module : BandCatalogue::allCases())
        symbols << BandCatalogue::symbol(module);
    for (int wmoCode = 0; wmoCode <= 99; ++wmoCode) {
        for (const bool isDay : {true, false})
            symbols << WeatherText::symbolName(wmoCode, isDay);
    }
    symbols << QStringLiteral("chevron.up") << QStringLiteral("chevron.down")
            << QStringLiteral("minus.circle") << QStringLiteral("plus.circle");

    for (const QString& symbol : symbols) {
        const std::optional<QString> glyph = SymbolGlyphs::glyphName(symbol);
        ASSERT_TRUE(glyph) << symbol.toStdString();
        EXPECT_NE(builtFont().glyph(*glyph), QStringLiteral("?"))
            << symbol.toStdString() << " → " << glyph->toStdString();
    }
}

TEST(SymbolGlyphsTest, TheOfferedSymbolsLeaveOutThoseTheDeckOnlyDraws)
{
    const QStringList available = SymbolGlyphs::availableSymbols(builtFont());
    EXPECT_GE(available.size(), 450);
    // Symbols the deck draws without offering them stay out of the catalogue.
    EXPECT_FALSE(available.contains(QStringLiteral("square.dashed")));
    EXPECT_FALSE(available.contains(QStringLiteral("airpods")));
}

} // namespace
