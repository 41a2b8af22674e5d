#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <optional>
#include <vector>

class DeckSettings;

// Where everything of the deck sits, in points with the origin at the deck's top left: the page of tiles, the
// row under it (page dots and arrows, or the starter hint), the band strip under that and the deck's own
// size. A value: it is made again whenever the settings, the number of pages or edit mode change.
class DeckGeometry final {
public:
    static constexpr double referenceTileSide = 92;
    static constexpr double sectionSpacing = 10;
    static constexpr double rowHeight = 24;
    static constexpr double deckRadius = 24;
    static constexpr double itemSpacing = 5;
    static constexpr double arrowWidth = 30;
    static constexpr double dotDiameter = 6.5;
    static constexpr double dotPadding = 3;
    static constexpr double addPageSide = 13;
    static constexpr QSizeF doneSize{42, 18};
    static constexpr double hintPadding = 8;
    static constexpr double hintSpacing = 6;
    static constexpr double hintCloseSide = 14;
    // The band, and each module on it, is this high.
    static constexpr double bandHeight = 44;

    // One thing in the row under the tiles that answers a click.
    struct RowItem {
        enum class Kind { previousPage, pageDot, nextPage, addPage, done, closeHint };
        Kind kind = Kind::pageDot;
        // The page a dot stands for; -1 for the other items.
        int page = -1;
        QRectF rect;
        bool operator==(const RowItem&) const = default;
        // The same button or dot, wherever it is drawn.
        [[nodiscard]] bool sameAs(const RowItem& other) const
        {
            return kind == other.kind && page == other.page;
        }
    };

    struct Grid {
        int columns = 3;
        int rows = 3;
        double tileSide = 104;
        double tileGap = 10;
        double tilePadding = 14;
    };

    DeckGeometry(const Grid& grid, int pageCount, bool editing, bool starterHintShown,
                 bool bandShown = false);
    // The band shows while `showBand` is on.
    DeckGeometry(const DeckSettings& settings, int pageCount, bool editing, bool starterHintShown);

    [[nodiscard]] const Grid& grid() const { return m_grid; }
    // Every measure of a tile scales with this: 1 for the reference tile side.
    [[nodiscard]] double unit() const { return m_grid.tileSide / referenceTileSide; }
    [[nodiscard]] int tilesPerPage() const { return m_grid.columns * m_grid.rows; }
    [[nodiscard]] bool showsStarterHint() const { return m_starterHintShown; }
    [[nodiscard]] bool showsBand() const { return m_bandShown; }

    [[nodiscard]] QSizeF size() const;
    [[nodiscard]] QRectF pageRect() const;
    // The square of the tile at `index`, counted row by row from the top left; an empty rectangle outside
    // the page.
    [[nodiscard]] QRectF slotRect(int index) const;
    [[nodiscard]] std::optional<int> slotAt(QPointF point) const;
    // The slot a dragged tile lands on: the gap to the right of and below a tile counts as that tile's, so a
    // drop between two tiles still has a target; none left of or above the grid, nor past its last column
    // or row.
    [[nodiscard]] std::optional<int> dragSlotAt(QPointF point) const;
    [[nodiscard]] int rowOf(int index) const { return index / m_grid.columns; }
    [[nodiscard]] int columnOf(int index) const { return index % m_grid.columns; }

    [[nodiscard]] QRectF rowRect() const;
    // The page arrows and dots (and in edit mode the add-page and "Done" buttons), centred in the row; none
    // while the starter hint takes the row.
    [[nodiscard]] std::vector<RowItem> rowItems() const;
    // The starter hint's text and close button, centred in the row, for text of the given measured width.
    [[nodiscard]] QRectF hintTextRect(double textWidth) const;
    [[nodiscard]] RowItem hintClose(double textWidth) const;
    // The row item under the point; the hint's close button only when `hintTextWidth` is given.
    [[nodiscard]] std::optional<RowItem> rowItemAt(QPointF point, double hintTextWidth = 0) const;
    // The strip the accessory band fills, as wide as the page and `bandHeight` high, one section's spacing
    // under the row; it has no height, and adds nothing to the deck's size, while the deck shows no band.
    [[nodiscard]] QRectF bandRect() const;

private:
    Grid m_grid;
    int m_pageCount = 1;
    bool m_editing = false;
    bool m_starterHintShown = false;
    bool m_bandShown = false;
};
