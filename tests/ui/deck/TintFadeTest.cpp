#include "ui/deck/TintFade.h"

#include <gtest/gtest.h>

namespace {

constexpr double within = 0.002;

void expectLook(const TintFade::Look& look, const QColor& colour, double weight, const char* when)
{
    SCOPED_TRACE(when);
    EXPECT_NEAR(look.colour.redF(), colour.redF(), within);
    EXPECT_NEAR(look.colour.greenF(), colour.greenF(), within);
    EXPECT_NEAR(look.colour.blueF(), colour.blueF(), within);
    EXPECT_NEAR(look.weight, weight, within);
}

TEST(TintFade, FadesInChangesHueAndFadesOutEasedOverAFifthOfASecond)
{
    const QColor red = QColor::fromRgbF(0.8f, 0.2f, 0.2f);
    const QColor blue = QColor::fromRgbF(0.2f, 0.2f, 0.8f);
    TintFade fade;
    EXPECT_EQ(fade.at(0).weight, 0);

    fade.retarget(red, 10);
    expectLook(fade.at(10), red, 0, "fading in, at the start");
    expectLook(fade.at(10.05), red, 0.15625, "fading in, a quarter through, eased");
    expectLook(fade.at(10.1), red, 0.5, "fading in, halfway");
    EXPECT_FALSE(fade.isSettled(10.199));
    EXPECT_TRUE(fade.isSettled(10.25));
    expectLook(fade.at(11), red, 1, "faded in");

    fade.retarget(blue, 20);
    expectLook(fade.at(20.1), QColor::fromRgbF(0.5f, 0.2f, 0.5f), 1, "halfway to another hue");

    // Turned back halfway: from where it is, not from where it started.
    fade.retarget(std::nullopt, 20.1);
    expectLook(fade.at(20.2), QColor::fromRgbF(0.5f, 0.2f, 0.5f), 0.5, "fading out, halfway");
    expectLook(fade.at(21), QColor::fromRgbF(0.5f, 0.2f, 0.5f), 0, "faded out");
}

} // namespace
