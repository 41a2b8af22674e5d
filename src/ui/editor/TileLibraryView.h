#pragma once

#include "model/TilePreset.h"
#include "ui/paint/TileIconPainter.h"

#include <QDialog>
#include <functional>

class QAbstractButton;
class TileLibrary;

// The tile library sheet: a modal dialog listing the library's presets by category, each a whole-width row
// with the tile's icon, its name, blurb and permission note, and "Needs PROGRAM" (the row dimmed, still
// pickable) when this machine lacks what it runs. Picking a row closes the sheet and hands the preset to
// `onPick`; "Cancel" and Escape close it without a call. Show it with `open()` or `exec()`.
//
// The icons are drawn and the programs looked for once, when the sheet is made. Main thread only.
class TileLibraryView final : public QDialog {
    Q_OBJECT

public:
    using PickHandler = std::function<void(const TilePreset&)>;

    static constexpr int sheetWidth = 460;
    static constexpr int sheetHeight = 520;
    static constexpr int previewSpan = 36;

    // `painting` draws the icon previews; `library` must outlive the sheet.
    TileLibraryView(const TileLibrary& library, TileIconPainter::Services painting, PickHandler onPick,
                    QWidget* parent = nullptr);

private:
    QWidget* makeRow(const TilePreset& preset);
    [[nodiscard]] QPixmap preview(const TilePreset& preset);
    void pick(const TilePreset& preset);

    const TileLibrary& m_library;
    TileIconPainter::Services m_painting;
    TileIconPainter m_painter;
    PickHandler m_onPick;
};
