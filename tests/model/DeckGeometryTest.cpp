#include "model/DeckGeometry.h"

#include <QtNumeric>
#include <gtest/gtest.h>

namespace {

using Kind = DeckGeometry::RowItem::Kind;

const DeckGeometry::Grid regular3x3{3, 3, 104, 10, 14};
const DeckGeometry::Grid large4x3{4, 3, 128, 4, 8};

struct GridCase {
    const char* name;
    DeckGeometry::Grid grid;
    QSizeF size;
    int index;
    QRectF slot;
};

class DeckGeometrySlots : public ::testing::TestWithParam<GridCase> {};

TEST_P(DeckGeometrySlots, SizeAndSlotsFollowTheGrid)
{
    const GridCase& c = GetParam();
    const DeckGeometry geometry(c.grid, 1, false, false);
    EXPECT_EQ(geometry.size(), c.size);
    EXPECT_EQ(geometry.slotRect(c.index), c.slot);
    EXPECT_EQ(geometry.slotAt(c.slot.center()), c.index);
    EXPECT_EQ(geometry.slotAt(c.slot.topLeft()), c.index);
    // Just beyond the right edge lies the gap to the next tile, which belongs to no tile.
    EXPECT_EQ(geometry.slotAt(c.slot.topRight() + QPointF(0.5, 1)), std::nullopt);
    EXPECT_TRUE(geometry.slotRect(geometry.tilesPerPage()).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Grids, DeckGeometrySlots,
                         ::testing::Values(
                             // 14 + 3 rows of 104 with 2 gaps of 10 + 10 + 24 + 14.
                             GridCase{"regular", regular3x3, QSizeF(360, 394), 4, QRectF(128, 128, 104, 104)},
                             GridCase{"large", large4x3, QSizeF(540, 442), 7, QRectF(404, 140, 128, 128)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DeckGeometry, TheBandSitsUnderTheRowAndMakesTheDeckTaller)
{
    const DeckGeometry without(regular3x3, 1, false, false, false);
    EXPECT_EQ(without.size(), QSizeF(360, 394));
    EXPECT_EQ(without.bandRect().height(), 0);

    // 14 + 332 of tiles + 10 + 24 of dots + 10, then 44 of band and 14 of margin.
    const DeckGeometry with(regular3x3, 1, false, false, true);
    EXPECT_EQ(with.bandRect(), QRectF(14, 390, 332, 44));
    EXPECT_EQ(with.size(), QSizeF(360, 448));
}

TEST(DeckGeometry, ADraggedTileLandsOnTheSlotWhoseTileOrFollowingGapIsUnderThePointer)
{
    // 4 × 3 regular: tiles of 120.5 with gaps of 10, so a step of 130.5, inside a padding of 14.
    const DeckGeometry geometry(DeckGeometry::Grid{4, 3, 120.5, 10, 14}, 1, true, false);
    const double step = 130.5;
    const struct {
        const char* name;
        QPointF point;
        std::optional<int> slot;
    } cases[] = {
        {"first tile's corner", {14, 14}, 0},
        {"second tile", {14 + step, 14 + 5}, 1},
        {"gap after the first tile", {14 + 125, 20}, 0},
        {"gap under the first tile", {20, 14 + 125}, 0},
        {"left padding", {13, 20}, std::nullopt},
        {"top padding", {20, 13.9}, std::nullopt},
        {"right padding counts as the last column's gap", {14 + step * 4 - 0.1, 20}, 3},
        {"past the last column", {14 + step * 4, 20}, std::nullopt},
        {"just under the last row", {20, 14 + step * 3 - 0.1}, 8},
        {"page dots", {20, 14 + step * 3}, std::nullopt},
        {"last slot", {14 + step * 3 + 1, 14 + step * 2 + 1}, 11},
        {"far away", {1e12, 1e12}, std::nullopt},
        {"far left", {-1e12, 20}, std::nullopt},
        {"not a number", {qQNaN(), 20}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(geometry.dragSlotAt(c.point), c.slot) << c.name;
}

TEST(DeckGeometry, HitTestingFindsRowItemsOverTheRowsHeight)
{
    const DeckGeometry geometry(regular3x3, 3, false, false);
    const DeckGeometry::RowItem dot = geometry.rowItems()[3];
    const QPointF aboveDot(dot.rect.center().x(), geometry.rowRect().top() + 1);
    ASSERT_TRUE(geometry.rowItemAt(aboveDot).has_value());
    EXPECT_EQ(geometry.rowItemAt(aboveDot)->page, 2);
    EXPECT_EQ(geometry.rowItemAt(QPointF(geometry.rowRect().left() + 1, geometry.rowRect().center().y())),
              std::nullopt);
}

TEST(DeckGeometry, StarterHintTakesTheRowWithItsCloseButton)
{
    const DeckGeometry geometry(regular3x3, 2, false, true);
    EXPECT_TRUE(geometry.rowItems().empty());
    const DeckGeometry::RowItem close = geometry.hintClose(200);
    EXPECT_EQ(close.rect.size(), QSizeF(14, 14));
    EXPECT_DOUBLE_EQ(close.rect.left() - geometry.hintTextRect(200).right(), 6);
    EXPECT_EQ(geometry.rowItemAt(close.rect.center(), 200), close);
    EXPECT_FALSE(DeckGeometry(regular3x3, 2, true, true).showsStarterHint());
}

} // namespace
