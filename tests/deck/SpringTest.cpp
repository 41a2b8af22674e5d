#include "deck/Spring.h"

#include <gtest/gtest.h>

TEST(Spring, StartsAtRestOvershootsWhenUnderdampedAndSettlesAtOne)
{
    EXPECT_EQ(Spring::progress(0, 0.34, 0.66), 0);
    EXPECT_EQ(Spring::progress(-1, 0.34, 0.66), 0);

    double highest = 0;
    for (double t = 0; t < 1; t += 0.005)
        highest = std::max(highest, Spring::progress(t, 0.34, 0.66));
    EXPECT_GT(highest, 1.01) << "the chip's spring bounces a little";

    double criticalHighest = 0;
    double previous = 0;
    for (double t = 0; t < 1; t += 0.005) {
        const double value = Spring::progress(t, 0.26, 1.0);
        EXPECT_GE(value, previous - 1e-12) << "a critically damped spring never turns back";
        previous = value;
        criticalHighest = std::max(criticalHighest, value);
    }
    EXPECT_LE(criticalHighest, 1.0);

    for (const auto& [response, damping] : {std::pair{0.34, 0.66}, {0.26, 1.0}, {0.22, 0.7}}) {
        const double settled = Spring::settleTime(response, damping);
        EXPECT_LT(settled, 1.0);
        for (double t = settled; t < settled + 0.5; t += 0.01)
            EXPECT_NEAR(Spring::progress(t, response, damping), 1.0, 0.002) << response << " at " << t;
    }
}

TEST(Spring, AValueTurnedAroundMidwayStartsBackFromWhereItWas)
{
    Spring::Value scale(1.0, 0.22, 0.7);
    EXPECT_TRUE(scale.isSettled(0));
    scale.retarget(0.93, 10.0);
    EXPECT_EQ(scale.at(10.0), 1.0);
    EXPECT_FALSE(scale.isSettled(10.05));
    const double midway = scale.at(10.05);
    EXPECT_LT(midway, 1.0);
    EXPECT_GT(midway, 0.93);

    scale.retarget(1.0, 10.05);
    EXPECT_DOUBLE_EQ(scale.at(10.05), midway) << "no jump when the press ends early";
    EXPECT_TRUE(scale.isSettled(11.0));
    EXPECT_NEAR(scale.at(11.0), 1.0, 0.001);
}
