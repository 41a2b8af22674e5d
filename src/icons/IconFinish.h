#pragma once

#include <QColor>
#include <QHash>
#include <QImage>
#include <QString>
#include <optional>

// Whether an icon image needs a drop shadow of ours, and the "#RRGGBB" colour texts of tile icons.
//
// Main thread only.
class IconFinish final {
public:
    // Decided once per key: a crisp silhouette gets a shadow, an icon with soft edges of its own does not.
    [[nodiscard]] bool needsShadow(const QImage& image, const QString& key);
    // The share of semi-transparent pixels of the image drawn at 64 × 64; nothing for an empty image.
    [[nodiscard]] static std::optional<double> softAlphaRatio(const QImage& image);

    // "#ff8800", " #FF8800 " and "FF8800" all read as the same colour; anything else as nothing.
    [[nodiscard]] static std::optional<QColor> colorFromHex(const QString& text);
    [[nodiscard]] static QString hexString(const QColor& colour);
    [[nodiscard]] static bool isLightBackground(const QColor& colour);

private:
    QHash<QString, bool> m_shadowDecisions;
};
