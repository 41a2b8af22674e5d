#include "ui/paint/DeckPaint.h"

#include "ui/paint/SymbolGlyphs.h"
#include "ui/paint/TileIconPainter.h"

#include <algorithm>
#include <cmath>

namespace DeckPaint {

QColor white(double alpha)
{
    return QColor::fromRgbF(1, 1, 1, static_cast<float>(std::clamp(alpha, 0.0, 1.0)));
}

QPainterPath roundedRect(const QRectF& rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

void drawSymbol(QPainter& painter, PhosphorFont& font, const QRectF& rect, const QString& symbol,
                double pixels, const QColor& colour)
{
    painter.setFont(TileIconPainter::iconFont(pixels));
    painter.setPen(colour);
    painter.drawText(rect, Qt::AlignCenter, SymbolGlyphs::text(font, symbol));
}

QImage picture(const QRectF& area, double devicePixelRatio, QPainter::RenderHints hints,
               const std::function<void(QPainter&)>& paint)
{
    QImage image(static_cast<int>(std::ceil(area.width() * devicePixelRatio)),
                 static_cast<int>(std::ceil(area.height() * devicePixelRatio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(hints);
    painter.translate(-area.topLeft());
    paint(painter);
    return image;
}

} // namespace DeckPaint
