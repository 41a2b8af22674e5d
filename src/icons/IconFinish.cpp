#include "icons/IconFinish.h"

#include "core/ColorText.h"

#include <QPainter>

namespace {

constexpr int shadowProbeSide = 64;
// Below this share of semi-transparent pixels an icon's edge is crisp and gets a shadow of ours.
constexpr double softEdgeThreshold = 0.065;

} // namespace

bool IconFinish::needsShadow(const QImage& image, const QString& key)
{
    if (const auto known = m_shadowDecisions.constFind(key); known != m_shadowDecisions.cend())
        return *known;
    const std::optional<double> ratio = softAlphaRatio(image);
    const bool decision = ratio && *ratio < softEdgeThreshold;
    m_shadowDecisions.insert(key, decision);
    return decision;
}

std::optional<double> IconFinish::softAlphaRatio(const QImage& image)
{
    if (image.isNull())
        return std::nullopt;
    QImage probe(shadowProbeSide, shadowProbeSide, QImage::Format_RGBA8888);
    if (probe.isNull())
        return std::nullopt;
    probe.fill(Qt::transparent);
    {
        QPainter painter(&probe);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(probe.rect(), image);
    }
    int soft = 0;
    for (int y = 0; y < probe.height(); ++y) {
        const uchar* row = probe.constScanLine(y);
        for (int x = 0; x < probe.width(); ++x) {
            const double alpha = row[x * 4 + 3] / 255.0;
            if (alpha > 0.02 && alpha <= 0.85)
                ++soft;
        }
    }
    return static_cast<double>(soft) / (shadowProbeSide * shadowProbeSide);
}

std::optional<QColor> IconFinish::colorFromHex(const QString& text)
{
    const std::optional<quint32> rgb = ColorText::rgb(text);
    if (!rgb)
        return std::nullopt;
    return QColor::fromRgb((*rgb >> 16) & 0xff, (*rgb >> 8) & 0xff, *rgb & 0xff);
}

QString IconFinish::hexString(const QColor& colour)
{
    if (!colour.isValid())
        return QStringLiteral("#FFFFFF");
    const QColor rgb = colour.toRgb();
    const auto component = [](float value) { return static_cast<quint32>(qRound(value * 255.0f)); };
    return ColorText::text(component(rgb.redF()) << 16 | component(rgb.greenF()) << 8 |
                           component(rgb.blueF()));
}

bool IconFinish::isLightBackground(const QColor& colour)
{
    if (!colour.isValid())
        return false;
    const QColor rgb = colour.toRgb();
    return 0.2126 * rgb.redF() + 0.7152 * rgb.greenF() + 0.0722 * rgb.blueF() > 0.62;
}
