#include "FuzzBytes.h"
#include "FuzzCheck.h"
#include "FuzzHome.h"
#include "ui/paint/PhosphorFont.h"
#include "ui/paint/SymbolGlyphs.h"

// The glyph map read at start, glyph name → code point, and the symbols looked up in it, as the symbol
// picker and the tiles' system symbols do. Every glyph is one character, or "?".
namespace {

void checkGlyph(const QString& glyph)
{
    const bool oneCharacter =
        glyph.size() == 1 ? !glyph.front().isSurrogate()
                          : glyph.size() == 2 && glyph[0].isHighSurrogate() && glyph[1].isLowSurrogate();
    if (!oneCharacter) {
        fuzzFail("a glyph is not one character");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    startCoreApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString mapPath =
        FuzzHome::shared().writeFile(QStringLiteral("PhosphorFill.json"), fuzzBytes(data, size));
    PhosphorFont font({}, mapPath);
    const QStringList names = font.names();
    for (const QString& name : names.mid(0, 64))
        checkGlyph(font.glyph(name));
    for (const QString& symbol : SymbolGlyphs::availableSymbols(font))
        checkGlyph(SymbolGlyphs::text(font, symbol));
    return 0;
}
