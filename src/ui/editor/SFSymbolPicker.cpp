#include "ui/editor/SFSymbolPicker.h"

#include "deck/PickerSearch.h"
#include "ui/paint/PhosphorFont.h"
#include "ui/paint/SymbolGlyphs.h"

namespace {

constexpr int symbolPixelSize = 22;

} // namespace

SFSymbolPicker::SFSymbolPicker(PhosphorFont& font, QStringList available, const QString& selected,
                               std::function<void(const QString&)> onPick, QWidget* parent)
    : PickerSheet({QStringLiteral("Choose Symbol"), QStringLiteral("Search symbols…"),
                   QStringLiteral("No symbols match"), QStringLiteral(" symbols")},
                  {[available = std::move(available)](const QString& text) {
                       return PickerSearch::symbols(available, text);
                   },
                   [&font](const QString& name) { return SymbolGlyphs::text(font, name); }, symbolPixelSize},
                  selected, std::move(onPick), parent)
{
}
