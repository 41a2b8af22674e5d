#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QString>

class QPainter;

// A font at a fractional pixel size. Qt loads a font at whole pixel sizes only (11.5 would become 12), so the
// text is measured and drawn with the next whole size up under a scale. Hinting is off, so that advances
// follow the size instead of snapping to whole pixels.
class FractionalFont final {
public:
    FractionalFont(double pixels, QFont::Weight weight);

    [[nodiscard]] double pixelSize() const { return m_pixels; }
    [[nodiscard]] double horizontalAdvance(const QString& text) const;
    [[nodiscard]] double height() const;
    [[nodiscard]] QString elidedText(const QString& text, Qt::TextElideMode mode, double width) const;
    // Draws like QPainter::drawText with a rectangle and flags; the painter's font and pen are used and kept.
    void draw(QPainter& painter, const QRectF& rect, int flags, const QString& text) const;

private:
    double m_pixels;
    QFont m_font;
    double m_scale = 1;
    QFontMetricsF m_metrics;
};
