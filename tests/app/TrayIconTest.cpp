#include "app/TrayIcon.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

// The share of the icon's square that stands clearly apart from the panel it sits on.
double shareApartFrom(const QColor& panel, const QImage& glyph)
{
    QImage shown(glyph.size(), QImage::Format_ARGB32);
    shown.fill(panel);
    QPainter(&shown).drawImage(0, 0, glyph);
    int apart = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (std::abs(shown.pixelColor(x, y).lightnessF() - panel.lightnessF()) > 0.4)
                ++apart;
    return static_cast<double>(apart) / (shown.width() * shown.height());
}

TEST(TrayIcon, TheGlyphShowsOnLightPanelsAsOnDarkOnes)
{
    for (const char* panel : {"#ffffff", "#f6f5f4", "#dcdcdc", "#303030", "#000000"}) {
        for (int side : {16, 22, 32}) {
            EXPECT_GT(
                shareApartFrom(QColor(QLatin1String(panel)), TrayIcon::outlinedGlyph(QSize(side, side))),
                0.15)
                << panel << " at " << side << " pixels";
        }
    }
    EXPECT_FALSE(TrayIcon::icon().pixmap(22).isNull());
}

} // namespace
