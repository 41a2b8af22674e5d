#pragma once

#include "ui/editor/PickerSheet.h"

class PhosphorFont;

// The sheet that picks a system symbol for a tile's icon, from the available symbols in catalogue order.
class SFSymbolPicker final : public PickerSheet {
    Q_OBJECT
public:
    // `available`: the symbols to offer (SymbolCatalogue::names()); `selected` stands out; `font` draws them
    // and must outlive the sheet.
    SFSymbolPicker(PhosphorFont& font, QStringList available, const QString& selected,
                   std::function<void(const QString&)> onPick, QWidget* parent = nullptr);
};
