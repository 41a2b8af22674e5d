#include "ui/paint/FractionalFont.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

QFont wholePixelFont(double pixels, QFont::Weight weight)
{
    QFont font;
    font.setPixelSize(static_cast<int>(std::ceil(pixels)));
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace

FractionalFont::FractionalFont(double pixels, QFont::Weight weight)
    : m_pixels(std::max(1.0, pixels))
    , m_font(wholePixelFont(m_pixels, weight))
    , m_scale(m_pixels / m_font.pixelSize())
    , m_metrics(m_font)
{
}

double FractionalFont::horizontalAdvance(const QString& text) const
{
    return m_metrics.horizontalAdvance(text) * m_scale;
}

double FractionalFont::height() const
{
    return m_metrics.height() * m_scale;
}

QString FractionalFont::elidedText(const QString& text, Qt::TextElideMode mode, double width) const
{
    return m_metrics.elidedText(text, mode, width / m_scale);
}

void FractionalFont::draw(QPainter& painter, const QRectF& rect, int flags, const QString& text) const
{
    const QFont previous = painter.font();
    painter.setFont(m_font);
    if (m_scale == 1) {
        painter.drawText(rect, flags, text);
    } else {
        painter.save();
        painter.translate(rect.topLeft());
        painter.scale(m_scale, m_scale);
        painter.drawText(QRectF(QPointF(0, 0), rect.size() / m_scale), flags, text);
        painter.restore();
    }
    painter.setFont(previous);
}
