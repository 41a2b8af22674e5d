#include "deck/DealIn.h"

#include <gtest/gtest.h>

namespace {

const QPointF from{-20, -10};

TEST(DealInTest, TilesStartDiagonalByDiagonalFromTowardsTheTopLeftCorner)
{
    EXPECT_DOUBLE_EQ(DealIn::delay(0, 0), 0);
    EXPECT_DOUBLE_EQ(DealIn::delay(2, 3), 0.2) << "bottom right of a 4 × 3 grid";
    EXPECT_DOUBLE_EQ(DealIn::delay(1, 2), DealIn::delay(2, 1));
    EXPECT_EQ(DealIn::from(0, 0, 100), QPointF(-11, -11));
    EXPECT_EQ(DealIn::from(2, 3, 100), QPointF(-77, -55));
}

TEST(DealInTest, EachTrackHoldsItsStartThenSpringsToRestAndStaysThere)
{
    const double delay = 0.08;
    const DealIn::Values start{0, from, -6, 3, 0.9};
    EXPECT_EQ(DealIn::at(0, delay, from), start);
    EXPECT_EQ(DealIn::at(delay, delay, from), start);
    // A tile without delay still holds its start for a moment.
    EXPECT_EQ(DealIn::at(0.0005, 0, from), start);

    const DealIn::Values early = DealIn::at(delay + 0.06, delay, from);
    EXPECT_GT(early.opacity, 0.1);
    EXPECT_LT(early.opacity, 0.9);
    EXPECT_GT(early.blur, 0.3);
    EXPECT_LT(early.blur, 2.7);
    EXPECT_LT(early.offset.x(), -2);
    EXPECT_GT(early.offset.x(), from.x());
    EXPECT_LT(early.turn, 0);
    EXPECT_GT(early.turn, -6);
    EXPECT_GT(early.scale, 0.9);
    EXPECT_LT(early.scale, 1);

    // The landing spring overshoots a little; the fading one does not.
    const DealIn::Values bounce = DealIn::at(delay + 0.335, delay, from);
    EXPECT_GT(bounce.offset.x(), 0);
    EXPECT_LT(bounce.offset.x(), 1);
    EXPECT_GT(bounce.scale, 1);
    EXPECT_LE(bounce.opacity, 1);
    EXPECT_GE(bounce.blur, 0);

    EXPECT_EQ(DealIn::at(delay + DealIn::flightSeconds + 1e-9, delay, from), DealIn::Values{});
    EXPECT_DOUBLE_EQ(DealIn::duration(delay), delay + 0.6);
    EXPECT_EQ(DealIn::at(DealIn::duration(delay) + 5, delay, from), DealIn::Values{});
}

TEST(DealInTest, GatheredCardsFadeShrinkAndPullAQuarterOfTheWayIn)
{
    EXPECT_EQ(DealIn::gathered(from, 0), DealIn::Values{});
    EXPECT_EQ(DealIn::gathered(from, 1), (DealIn::Values{0, {-5, -2.5}, 0, 0, 0.94}));
    EXPECT_EQ(DealIn::gathered(from, 7), DealIn::gathered(from, 1));
    // Easing in: slow at first, all the way at the end.
    EXPECT_LT(DealIn::gatherProgress(0.06, 0.12), 0.5);
    EXPECT_DOUBLE_EQ(DealIn::gatherProgress(0.12, 0.12), 1);
    EXPECT_DOUBLE_EQ(DealIn::gatherProgress(0, 0), 1);
}

} // namespace
