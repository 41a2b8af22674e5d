#include "app/TrayIcon.h"

#include "ui/paint/DeckGlyph.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>

namespace TrayIcon {

QIcon icon()
{
    QIcon outlined;
    for (int side : {16, 22, 24, 32, 48, 64})
        outlined.addPixmap(QPixmap::fromImage(outlinedGlyph(QSize(side, side))));
    return QIcon::fromTheme(QStringLiteral("marquetto-symbolic"), outlined);
}

QImage outlinedGlyph(QSize pixelSize)
{
    const double outline = std::max(1.0, std::min(pixelSize.width(), pixelSize.height()) / 14.0);
    QImage glyph(pixelSize, QImage::Format_ARGB32_Premultiplied);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = DeckGlyph::path(
        QRectF(QPointF(0, 0), QSizeF(pixelSize)).adjusted(outline, outline, -outline, -outline));
    painter.strokePath(path,
                       QPen(QColor(0, 0, 0, 190), 2 * outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(path, Qt::white);
    return glyph;
}

} // namespace TrayIcon
