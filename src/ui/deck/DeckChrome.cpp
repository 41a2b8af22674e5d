#include "ui/deck/DeckChrome.h"

#include "model/DeckGeometry.h"
#include "ui/paint/DeckPaint.h"

#include <QPainter>

void DeckChrome::paint(QPainter& painter, const Look& look, bool keep)
{
    if (!keep) {
        m_look.reset();
        m_picture = {};
        paintGlass(painter, look);
        return;
    }
    if (m_look != look) {
        m_picture = DeckPaint::picture(look.area, look.devicePixelRatio, painter.renderHints(),
                                       [&look](QPainter& onPicture) { paintGlass(onPicture, look); });
        m_look = look;
    }
    painter.drawImage(look.area.topLeft(), m_picture);
}

void DeckChrome::paintGlass(QPainter& painter, const Look& look)
{
    const QRectF deck(QPointF(0, 0), look.size);
    const QPainterPath shape = DeckPaint::roundedRect(deck, DeckGeometry::deckRadius);
    if (look.opaque)
        painter.fillRect(look.area, QColor(12, 12, 14));
    painter.fillPath(shape, look.fill);
    if (look.wash)
        painter.fillPath(shape, *look.wash);
    painter.strokePath(
        DeckPaint::roundedRect(deck.adjusted(0.5, 0.5, -0.5, -0.5), DeckGeometry::deckRadius - 0.5),
        QPen(look.border, 1));
}
