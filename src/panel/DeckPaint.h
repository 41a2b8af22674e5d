#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <QString>

class PhosphorFont;
class QPainter;

// Drawing helpers the deck's painters share.
namespace DeckPaint {

[[nodiscard]] QColor white(double alpha);
[[nodiscard]] QPainterPath roundedRect(const QRectF& rect, double radius);
// A system symbol, by its symbol name, centred in `rect`.
void drawSymbol(QPainter& painter, PhosphorFont& font, const QRectF& rect, const QString& symbol,
                double pixels, const QColor& colour);

} // namespace DeckPaint
