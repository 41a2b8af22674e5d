#include "panel/ChipView.h"

#include "model/Settings.h"
#include "support/StoreFixture.h"

#include <QImage>

namespace {

class ChipViewTest : public StoreFixture {
protected:
    [[nodiscard]] static QImage rendered(ChipView& chip)
    {
        chip.resize(chip.sizeHint());
        QImage image(chip.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        chip.render(&image);
        return image;
    }
};

TEST_F(ChipViewTest, ChipIsTheScaledTileSideWithItsPadding)
{
    makeStore();
    ChipView chip(*m_settings);
    // 104 / 92 × 76 = 85.9, and 10 points of padding on each side.
    EXPECT_NEAR(chip.chipSide(), 85.913, 0.001);
    EXPECT_EQ(chip.sizeHint(), QSize(106, 106));
    m_settings->setGridColumns(4);
    m_settings->setTileSize(TileSizeOption::large);
    EXPECT_EQ(chip.sizeHint(), QSize(126, 126));
}

TEST_F(ChipViewTest, EachStyleHasItsColours)
{
    const QColor tint(10, 120, 250);
    EXPECT_EQ(ChipView::look(ChipStyleOption::light, tint).glyph, QColor::fromRgbF(0, 0, 0, 0.74f));
    EXPECT_EQ(ChipView::look(ChipStyleOption::dark, tint).wash, QColor::fromRgbF(0, 0, 0, 0.45f));
    const ChipView::Look tinted = ChipView::look(ChipStyleOption::tinted, tint);
    ASSERT_TRUE(tinted.wash.has_value());
    EXPECT_EQ(tinted.wash->rgb(), tint.rgb());
    EXPECT_NEAR(tinted.wash->alphaF(), 0.5, 0.01);
    const ChipView::Look clear = ChipView::look(ChipStyleOption::clear, tint);
    EXPECT_DOUBLE_EQ(clear.backdropOpacity, 0.45);
    EXPECT_FALSE(clear.wash.has_value());
}

TEST_F(ChipViewTest, TintFollowsTheWallpaperOnlyWithChameleonGlass)
{
    makeStore();
    ChipView chip(*m_settings);
    const QColor wallpaper(200, 40, 40);
    chip.setWallpaperTint(wallpaper);
    EXPECT_EQ(chip.tintColour(), wallpaper);
    m_settings->setChameleonGlass(false);
    EXPECT_EQ(chip.tintColour(), chip.palette().color(QPalette::Highlight));
}

TEST_F(ChipViewTest, GlyphIsDarkOnTheLightChipAndLightOnTheDarkOne)
{
    makeStore();
    ChipView chip(*m_settings);
    // The lit lower-right tile of the mark.
    const QPoint litTile(53 + 9, 53 + 9);
    m_settings->setChipStyle(ChipStyleOption::light);
    const QColor onLight = rendered(chip).pixelColor(litTile);
    m_settings->setChipStyle(ChipStyleOption::dark);
    const QColor onDark = rendered(chip).pixelColor(litTile);
    EXPECT_LT(onLight.red(), 90);
    EXPECT_GT(onDark.red(), 200);
    EXPECT_EQ(rendered(chip).pixelColor(2, 2).alpha(), 0);
}

} // namespace
