#include "model/DeckGeometry.h"

#include "model/Settings.h"

#include <algorithm>
#include <cmath>

DeckGeometry::DeckGeometry(const Grid& grid, int pageCount, bool editing, bool starterHintShown,
                           bool bandShown)
    : m_grid(grid)
    , m_pageCount(std::max(1, pageCount))
    , m_editing(editing)
    // The hint gives way to the page dots while editing, which needs the add-page and "Done" buttons.
    , m_starterHintShown(starterHintShown && !editing)
    , m_bandShown(bandShown)
{
}

DeckGeometry::DeckGeometry(const DeckSettings& settings, int pageCount, bool editing, bool starterHintShown)
    : DeckGeometry(Grid{settings.gridColumns(), settings.gridRows(), settings.tileSide(), settings.tileGap(),
                        settings.tilePadding()},
                   pageCount, editing, starterHintShown, settings.showBand())
{
}

QRectF DeckGeometry::pageRect() const
{
    const double width = m_grid.tileSide * m_grid.columns + m_grid.tileGap * (m_grid.columns - 1);
    const double height = m_grid.tileSide * m_grid.rows + m_grid.tileGap * (m_grid.rows - 1);
    return {m_grid.tilePadding, m_grid.tilePadding, width, height};
}

QSizeF DeckGeometry::size() const
{
    return {pageRect().width() + 2 * m_grid.tilePadding, bandRect().bottom() + m_grid.tilePadding};
}

QRectF DeckGeometry::slotRect(int index) const
{
    if (index < 0 || index >= tilesPerPage())
        return {};
    const double step = m_grid.tileSide + m_grid.tileGap;
    return {m_grid.tilePadding + step * columnOf(index), m_grid.tilePadding + step * rowOf(index),
            m_grid.tileSide, m_grid.tileSide};
}

std::optional<int> DeckGeometry::slotAt(QPointF point) const
{
    const QRectF page = pageRect();
    if (!page.contains(point))
        return std::nullopt;
    const double step = m_grid.tileSide + m_grid.tileGap;
    const int column = std::min(m_grid.columns - 1, static_cast<int>((point.x() - page.left()) / step));
    const int row = std::min(m_grid.rows - 1, static_cast<int>((point.y() - page.top()) / step));
    const int index = row * m_grid.columns + column;
    // The gaps between tiles belong to the deck, not to a tile.
    if (!slotRect(index).contains(point))
        return std::nullopt;
    return index;
}

std::optional<int> DeckGeometry::dragSlotAt(QPointF point) const
{
    const double x = point.x() - m_grid.tilePadding;
    const double y = point.y() - m_grid.tilePadding;
    // Written so that a coordinate that is not a number has no slot either.
    if (!(x >= 0 && y >= 0))
        return std::nullopt;
    const double step = m_grid.tileSide + m_grid.tileGap;
    const double column = std::floor(x / step);
    const double row = std::floor(y / step);
    if (column >= m_grid.columns || row >= m_grid.rows)
        return std::nullopt;
    return static_cast<int>(row) * m_grid.columns + static_cast<int>(column);
}

QRectF DeckGeometry::rowRect() const
{
    const QRectF page = pageRect();
    return {page.left(), page.bottom() + sectionSpacing, page.width(), rowHeight};
}

std::vector<DeckGeometry::RowItem> DeckGeometry::rowItems() const
{
    if (m_starterHintShown)
        return {};
    std::vector<RowItem> items;
    const double dotSide = dotDiameter + 2 * dotPadding;
    items.push_back({RowItem::Kind::previousPage, -1, QRectF(0, 0, arrowWidth, rowHeight)});
    for (int page = 0; page < m_pageCount; ++page)
        items.push_back({RowItem::Kind::pageDot, page, QRectF(0, 0, dotSide, dotSide)});
    items.push_back({RowItem::Kind::nextPage, -1, QRectF(0, 0, arrowWidth, rowHeight)});
    if (m_editing) {
        items.push_back({RowItem::Kind::addPage, -1, QRectF(0, 0, addPageSide, addPageSide)});
        items.push_back({RowItem::Kind::done, -1, QRectF(QPointF(0, 0), doneSize)});
    }

    double total = itemSpacing * static_cast<double>(items.size() - 1);
    for (const RowItem& item : items)
        total += item.rect.width();
    const QRectF row = rowRect();
    double x = row.center().x() - total / 2;
    for (RowItem& item : items) {
        item.rect.moveTopLeft(QPointF(x, row.center().y() - item.rect.height() / 2));
        x += item.rect.width() + itemSpacing;
    }
    return items;
}

QRectF DeckGeometry::bandRect() const
{
    const QRectF row = rowRect();
    if (!m_bandShown)
        return {row.left(), row.bottom(), row.width(), 0};
    return {row.left(), row.bottom() + sectionSpacing, row.width(), bandHeight};
}

QRectF DeckGeometry::hintTextRect(double textWidth) const
{
    const QRectF row = rowRect();
    const double total = textWidth + hintSpacing + hintCloseSide;
    return {row.center().x() - total / 2, row.top(), textWidth, row.height()};
}

DeckGeometry::RowItem DeckGeometry::hintClose(double textWidth) const
{
    const QRectF text = hintTextRect(textWidth);
    return {RowItem::Kind::closeHint, -1,
            QRectF(text.right() + hintSpacing, text.center().y() - hintCloseSide / 2, hintCloseSide,
                   hintCloseSide)};
}

std::optional<DeckGeometry::RowItem> DeckGeometry::rowItemAt(QPointF point, double hintTextWidth) const
{
    if (m_starterHintShown) {
        const RowItem close = hintClose(hintTextWidth);
        if (hintTextWidth > 0 && close.rect.contains(point))
            return close;
        return std::nullopt;
    }
    for (const RowItem& item : rowItems()) {
        // The dots and small buttons answer over the whole height of the row, which is easier to hit.
        const QRectF target(item.rect.left(), rowRect().top(), item.rect.width(), rowHeight);
        if (target.contains(point))
            return item;
    }
    return std::nullopt;
}
