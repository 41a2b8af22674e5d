#include "ui/paint/SymbolGlyphs.h"

#include "ui/paint/PhosphorFont.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <utility>
#include <vector>

namespace {

// A symbol and the glyph that draws it; an empty glyph for a symbol the font has no picture of.
using Mapping = std::pair<QString, QString>;

struct Table {
    // The symbols offered to the user, in their fixed order.
    std::vector<Mapping> offered;
    // Every symbol with a glyph, the offered ones and those the deck draws itself without offering them.
    QHash<QString, QString> glyphs;
};

std::vector<Mapping> mappings(const QJsonValue& rows)
{
    std::vector<Mapping> result;
    for (const QJsonValue& row : rows.toArray()) {
        const QJsonArray pair = row.toArray();
        result.emplace_back(pair.at(0).toString(), pair.at(1).toString());
    }
    return result;
}

// The table is data compiled into the program, read once, on first use.
const Table& table()
{
    static const Table loaded = [] {
        QFile file(QStringLiteral(":/symbols/symbol-glyphs.json"));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("Marquetto: the symbol map is missing from the program");
        const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
        Table table{mappings(root.value(QLatin1String("offered"))), {}};
        const auto addGlyphs = [&table](const std::vector<Mapping>& list) {
            for (const auto& [symbol, glyph] : list) {
                if (!glyph.isEmpty())
                    table.glyphs.insert(symbol, glyph);
            }
        };
        addGlyphs(table.offered);
        addGlyphs(mappings(root.value(QLatin1String("drawnOnly"))));
        return table;
    }();
    return loaded;
}

} // namespace

std::optional<QString> SymbolGlyphs::glyphName(const QString& symbolName)
{
    const auto found = table().glyphs.constFind(symbolName);
    if (found == table().glyphs.cend())
        return std::nullopt;
    return *found;
}

QString SymbolGlyphs::text(PhosphorFont& font, const QString& symbolName)
{
    const std::optional<QString> glyph = glyphName(symbolName);
    return glyph ? font.glyph(*glyph) : QStringLiteral("?");
}

QStringList SymbolGlyphs::availableSymbols(PhosphorFont& font)
{
    QStringList symbols;
    for (const auto& [symbol, glyph] : table().offered) {
        if (!glyph.isEmpty() && font.glyph(glyph) != u"?")
            symbols.append(symbol);
    }
    return symbols;
}
