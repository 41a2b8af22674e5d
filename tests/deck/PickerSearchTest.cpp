#include "deck/PickerSearch.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const QStringList symbols{QStringLiteral("speaker.wave.3"), QStringLiteral("play"), QStringLiteral("speaker"),
                          QStringLiteral("play.fill")};
const QStringList glyphs{QStringLiteral("arrow-down"), QStringLiteral("arrow-down-left"),
                         QStringLiteral("download-simple"), QStringLiteral("folder")};

TEST(PickerSearchTest, SymbolsContainingTheTrimmedLowerCasedTextKeepTheCatalogueOrder)
{
    EXPECT_EQ(PickerSearch::symbols(symbols, QStringLiteral("  SPEAK\t")),
              (QStringList{QStringLiteral("speaker.wave.3"), QStringLiteral("speaker")}));
    EXPECT_EQ(PickerSearch::symbols(symbols, QStringLiteral(" ")), symbols);
    EXPECT_EQ(PickerSearch::symbols(symbols, QStringLiteral("")), symbols);
    // Only the ends are trimmed: a space inside the text matches nothing in a symbol name.
    EXPECT_TRUE(PickerSearch::symbols(symbols, QStringLiteral("play fill")).isEmpty());
}

TEST(PickerSearchTest, ASpaceInTheGlyphSearchMatchesTheHyphenBetweenWords)
{
    EXPECT_EQ(PickerSearch::glyphs(glyphs, QStringLiteral(" Arrow Down ")),
              (QStringList{QStringLiteral("arrow-down"), QStringLiteral("arrow-down-left")}));
    EXPECT_EQ(PickerSearch::glyphs(glyphs, QStringLiteral("down")),
              (QStringList{QStringLiteral("arrow-down"), QStringLiteral("arrow-down-left"),
                           QStringLiteral("download-simple")}));
    EXPECT_EQ(PickerSearch::glyphs(glyphs, QStringLiteral("\n")), glyphs);
    EXPECT_TRUE(PickerSearch::glyphs(glyphs, QStringLiteral("arrow down right")).isEmpty());
}

} // namespace
