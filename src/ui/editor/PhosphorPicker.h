#pragma once

#include "ui/editor/PickerSheet.h"

class PhosphorFont;

// The sheet that picks a glyph of the icon font for a built tile icon, from all the font's glyphs by name.
class PhosphorPicker final : public PickerSheet {
    Q_OBJECT
public:
    // `selected` stands out; `font` lists and draws the glyphs and must outlive the sheet.
    PhosphorPicker(PhosphorFont& font, const QString& selected, std::function<void(const QString&)> onPick,
                   QWidget* parent = nullptr);
};
