#include "ui/editor/PhosphorPicker.h"

#include "deck/PickerSearch.h"
#include "ui/paint/PhosphorFont.h"

namespace {

constexpr int glyphPixelSize = 28;

} // namespace

PhosphorPicker::PhosphorPicker(PhosphorFont& font, const QString& selected,
                               std::function<void(const QString&)> onPick, QWidget* parent)
    : PickerSheet({QStringLiteral("Choose Icon"), QStringLiteral("Search icons…"),
                   QStringLiteral("No icons match"), QStringLiteral(" icons")},
                  {[names = font.names()](const QString& text) { return PickerSearch::glyphs(names, text); },
                   [&font](const QString& name) { return font.glyph(name); }, glyphPixelSize},
                  selected, std::move(onPick), parent)
{
}
