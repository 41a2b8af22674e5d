#pragma once

#include "model/DeckGeometry.h"
#include "ui/deck/PagePainter.h"

#include <QWidget>

// The tile editor's preview: one tile drawn by the deck's own page painter, on a plate of the deck's glass,
// at the deck's tile size.
class TilePreview final : public QWidget {
public:
    TilePreview(TileIconPainter::Services services, const DeckGeometry::Grid& deckGrid,
                QWidget* parent = nullptr);

    void setTile(const Tile& tile);
    [[nodiscard]] const Tile& tile() const { return m_tile; }
    // Draws icons from their files again, after they changed on disk.
    void reloadImages();

    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PagePainter m_painter;
    DeckGeometry m_geometry;
    Tile m_tile;
};
