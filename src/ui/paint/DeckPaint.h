#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <functional>

class PhosphorFont;

// Drawing helpers the deck's painters share.
namespace DeckPaint {

[[nodiscard]] QColor white(double alpha);
[[nodiscard]] QPainterPath roundedRect(const QRectF& rect, double radius);
// A system symbol, by its symbol name, centred in `rect`.
void drawSymbol(QPainter& painter, PhosphorFont& font, const QRectF& rect, const QString& symbol,
                double pixels, const QColor& colour);

// A transparent picture of `area` at `devicePixelRatio`, painted by `paint` in the coordinates of the area's
// own painter, with its render hints: a part of the deck painted once and drawn on later frames.
[[nodiscard]] QImage picture(const QRectF& area, double devicePixelRatio, QPainter::RenderHints hints,
                             const std::function<void(QPainter&)>& paint);

} // namespace DeckPaint
