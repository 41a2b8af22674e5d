#include "ui/paint/DeckGlyph.h"

#include <QPainter>

namespace DeckGlyph {

QPainterPath path(const QRectF& bounds)
{
    const double side = std::min(bounds.width(), bounds.height());
    const double gap = side * 0.12;
    const double tile = (side - gap) / 2;
    const double radius = tile * 0.28;
    const QPointF origin(bounds.center().x() - side / 2, bounds.center().y() - side / 2);
    QPainterPath glyph;
    glyph.setFillRule(Qt::WindingFill);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            const QRectF cell(origin.x() + column * (tile + gap), origin.y() + row * (tile + gap), tile,
                              tile);
            if (row == 1 && column == 1) {
                glyph.addRoundedRect(cell, radius, radius);
                continue;
            }
            // The three other tiles are outlined so the lit one stands out in a single colour.
            QPainterPath ring;
            ring.addRoundedRect(cell, radius, radius);
            const double stroke = tile * 0.2;
            QPainterPath hole;
            hole.addRoundedRect(cell.adjusted(stroke, stroke, -stroke, -stroke), radius * 0.5, radius * 0.5);
            glyph.addPath(ring.subtracted(hole));
        }
    }
    return glyph;
}

QImage image(QSize pixelSize, const QColor& colour)
{
    QImage glyph(pixelSize, QImage::Format_ARGB32_Premultiplied);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path(QRectF(QPointF(0, 0), QSizeF(pixelSize))), colour);
    return glyph;
}

} // namespace DeckGlyph
