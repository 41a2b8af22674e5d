#pragma once

#include "model/DeckGeometry.h"
#include "ui/paint/FractionalFont.h"

#include <optional>

class EditModeState;
class PhosphorFont;
class QPainter;
class TileStore;

// The row under the tiles: the page arrows and one dot per page, and in edit mode the add-page and "Done"
// buttons. It draws them and does what a click on one of them asks.
//
// Main thread only.
class PageDotsRow final {
public:
    struct Services {
        TileStore& store;
        EditModeState& editMode;
        PhosphorFont& font;
    };

    explicit PageDotsRow(Services services);

    void paint(QPainter& painter, const DeckGeometry& geometry,
               const std::optional<DeckGeometry::RowItem>& hovered) const;
    // The click on an item of the row; the starter hint's close button is not one of them.
    void activate(const DeckGeometry::RowItem& item);

private:
    Services m_services;
    FractionalFont m_doneFont;
};
