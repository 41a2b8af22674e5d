#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>

// Marquetto's own mark: four rounded tiles, the lower right one lit. Used by the tray icon and the chip,
// where it is drawn in one colour like a template image.
namespace DeckGlyph {

[[nodiscard]] QPainterPath path(const QRectF& bounds);
[[nodiscard]] QImage image(QSize pixelSize, const QColor& colour);

} // namespace DeckGlyph
