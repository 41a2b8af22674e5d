#include "IconFinish.h"

#include <QPainter>

namespace {

constexpr int shadowProbeSide = 64;
// Below this share of semi-transparent pixels an icon's edge is crisp and gets a shadow of ours.
constexpr double softEdgeThreshold = 0.065;

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

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
    QStringView digits = QStringView(text).trimmed();
    if (digits.startsWith(u'#'))
        digits = digits.mid(1);
    if (digits.size() != 6)
        return std::nullopt;
    uint rgb = 0;
    for (const QChar c : digits) {
        const int value = hexDigit(c);
        if (value < 0)
            return std::nullopt;
        rgb = rgb << 4 | static_cast<uint>(value);
    }
    return QColor::fromRgb((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
}

QString IconFinish::hexString(const QColor& colour)
{
    if (!colour.isValid())
        return QStringLiteral("#FFFFFF");
    const QColor rgb = colour.toRgb();
    const auto component = [](float value) { return qRound(value * 255.0f); };
    return QStringLiteral("#%1%2%3")
        .arg(component(rgb.redF()), 2, 16, QLatin1Char('0'))
        .arg(component(rgb.greenF()), 2, 16, QLatin1Char('0'))
        .arg(component(rgb.blueF()), 2, 16, QLatin1Char('0'))
        .toUpper();
}

bool IconFinish::isLightBackground(const QColor& colour)
{
    if (!colour.isValid())
        return false;
    const QColor rgb = colour.toRgb();
    return 0.2126 * rgb.redF() + 0.7152 * rgb.greenF() + 0.0722 * rgb.blueF() > 0.62;
}
