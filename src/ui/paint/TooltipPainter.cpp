#include "ui/paint/TooltipPainter.h"

#include "ui/paint/DeckPaint.h"

#include <QPainter>

namespace {

constexpr double bubbleRadius = 6;
constexpr double horizontalPadding = 8;
constexpr double verticalPadding = 5;

} // namespace

TooltipPainter::TooltipPainter()
    : m_font(TileTooltipLayout::fontSize, QFont::Normal)
{
}

QSizeF TooltipPainter::bubbleSize(const QString& text) const
{
    return TileTooltipLayout::size(QSizeF(m_font.horizontalAdvance(text), m_font.height()));
}

void TooltipPainter::paint(QPainter& painter, const TileHoverState::Tip& tip, double opacity,
                           const DeckSettings& settings) const
{
    if (opacity <= 0)
        return;
    const QSizeF size = bubbleSize(tip.text);
    const QRectF bubble(TileTooltipLayout::placement(tip.anchor, size, settings), size);

    painter.save();
    painter.setOpacity(opacity);
    painter.fillPath(DeckPaint::roundedRect(bubble.translated(0, 2), bubbleRadius),
                     QColor::fromRgbF(0, 0, 0, 0.3f));
    painter.fillPath(DeckPaint::roundedRect(bubble, bubbleRadius), QColor(44, 44, 48, 240));
    painter.strokePath(DeckPaint::roundedRect(bubble.adjusted(0.5, 0.5, -0.5, -0.5), bubbleRadius - 0.5),
                       QPen(DeckPaint::white(0.12), 1));
    painter.setPen(Qt::white);
    const QRectF text =
        bubble.adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding);
    const QString elided = m_font.elidedText(tip.text, Qt::ElideRight, text.width() * 2);
    m_font.draw(painter, text, Qt::AlignCenter | Qt::TextWordWrap, elided);
    painter.restore();
}
