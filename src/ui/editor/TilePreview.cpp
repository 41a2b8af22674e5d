#include "ui/editor/TilePreview.h"

#include "ui/paint/DeckPaint.h"

#include <QPainter>

namespace {

DeckGeometry::Grid oneTile(DeckGeometry::Grid grid)
{
    grid.columns = 1;
    grid.rows = 1;
    return grid;
}

} // namespace

TilePreview::TilePreview(TileIconPainter::Services services, const DeckGeometry::Grid& deckGrid,
                         QWidget* parent)
    : QWidget(parent)
    , m_painter(services)
    , m_geometry(oneTile(deckGrid), 1, false, false)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TilePreview::setTile(const Tile& tile)
{
    if (tile == m_tile)
        return;
    m_tile = tile;
    update();
}

void TilePreview::reloadImages()
{
    m_painter.clearCache();
    update();
}

QSize TilePreview::sizeHint() const
{
    const QRectF page = m_geometry.pageRect();
    return QSizeF(page.right() + page.left(), page.bottom() + page.top()).toSize();
}

void TilePreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(DeckPaint::roundedRect(QRectF(rect()), DeckGeometry::deckRadius),
                     QColor(30, 30, 34, 235));
    m_painter.paint(painter, QTransform(), m_geometry, Page{m_tile}, PagePainter::State{});
}
