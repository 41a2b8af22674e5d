#include "ui/deck/ChipView.h"

#include "model/Settings.h"
#include "ui/paint/DeckGlyph.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

QColor withAlpha(QColor colour, double alpha)
{
    colour.setAlphaF(static_cast<float>(alpha));
    return colour;
}

} // namespace

ChipView::ChipView(DeckSettings& settings, QWidget* parent)
    : QWidget(parent)
    , m_settings(settings)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    const auto changed = [this] {
        updateGeometry();
        update();
    };
    connect(&m_settings, &DeckSettings::chipStyleChanged, this, changed);
    connect(&m_settings, &DeckSettings::tileSizeChanged, this, changed);
    connect(&m_settings, &DeckSettings::gridColumnsChanged, this, changed);
    connect(&m_settings, &DeckSettings::chameleonGlassChanged, this, changed);
}

double ChipView::chipSide() const
{
    return m_settings.tileSide() * chipSideRatio;
}

QSize ChipView::sizeHint() const
{
    const int side = static_cast<int>(std::ceil(chipSide() + 2 * padding));
    return {side, side};
}

void ChipView::setWallpaperTint(const std::optional<QColor>& tint)
{
    if (tint == m_tint)
        return;
    m_tint = tint;
    update();
}

QColor ChipView::tintColour() const
{
    if (m_settings.chameleonGlass() && m_tint)
        return *m_tint;
    return palette().color(QPalette::Highlight);
}

ChipView::Look ChipView::look(ChipStyleOption style, const QColor& tint)
{
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    switch (style) {
    case ChipStyleOption::light:
        return {1, withAlpha(white, 0.55), withAlpha(black, 0.74), withAlpha(black, 0.12)};
    case ChipStyleOption::dark:
        return {1, withAlpha(black, 0.45), withAlpha(white, 0.92), withAlpha(white, 0.18)};
    case ChipStyleOption::tinted:
        return {1, withAlpha(tint, 0.5), withAlpha(white, 0.92), withAlpha(white, 0.18)};
    case ChipStyleOption::clear:
        break;
    }
    return {0.45, std::nullopt, withAlpha(white, 0.92), withAlpha(white, 0.18)};
}

void ChipView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double side = chipSide();
    const QRectF square(padding, padding, side, side);
    const double radius = side * cornerRatio;
    QPainterPath shape;
    shape.addRoundedRect(square, radius, radius);

    const Look colours = look(m_settings.chipStyle(), tintColour());
    // Without a blur of the desktop behind, the backdrop is a grey veil of the same weight.
    painter.fillPath(
        shape, QColor::fromRgbF(0.32f, 0.32f, 0.34f, static_cast<float>(0.7 * colours.backdropOpacity)));
    if (colours.wash)
        painter.fillPath(shape, *colours.wash);

    QPainterPath stroke;
    stroke.addRoundedRect(square.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);
    painter.strokePath(stroke, QPen(colours.stroke, 1));

    const QSizeF glyphSize(side * 0.45, side * 0.47);
    const QRectF glyph(square.center().x() - glyphSize.width() / 2,
                       square.center().y() - glyphSize.height() / 2, glyphSize.width(), glyphSize.height());
    painter.fillPath(DeckGlyph::path(glyph), colours.glyph);
}
