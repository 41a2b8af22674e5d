#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class PhosphorFont;

// System symbol names ("speaker.wave.3.fill") are drawn with glyphs of the icon font; this is the one table
// between the two. A symbol without a glyph is not available here.
namespace SymbolGlyphs {

[[nodiscard]] std::optional<QString> glyphName(const QString& symbolName);
// The text to draw for a symbol in `font`: its glyph, or "?" when it has none.
[[nodiscard]] QString text(PhosphorFont& font, const QString& symbolName);
// The offered symbols, in their fixed order, whose glyph `font` has.
[[nodiscard]] QStringList availableSymbols(PhosphorFont& font);

} // namespace SymbolGlyphs
