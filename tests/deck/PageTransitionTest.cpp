#include "deck/PageTransition.h"

#include <gtest/gtest.h>

namespace {

using PageTransition::PageLook;
using PageTransition::Style;
using PageTransition::TileLook;

const QSizeF page{400, 300};
const Style ripple{PageTransitionOption::ripple, false, 14, page};
const Style depth{PageTransitionOption::depth, false, 8, page};
const Style crossfade{PageTransitionOption::crossfade, false, 14, page};

Style reduced(Style style)
{
    style.reduceMotion = true;
    return style;
}

TEST(PageTransitionTest, PagesAwayFromTheCurrentOneRestAsTheirStyleSays)
{
    struct Case {
        const char* name;
        Style style;
        int distance;
        PageLook expected;
    };
    const std::vector<Case> cases{
        {"current page", depth, 0, {}},
        {"ripple leaves pages whole", ripple, 1, {}},
        {"depth behind", depth, -1, {0, 0.94, 0}},
        {"depth in front grows by the padding", depth, 2, {0, 1.03, 0}},
        {"depth in front at most 1.06",
         {PageTransitionOption::depth, false, 14, {200, 100}},
         1,
         {0, 1.06, 0}},
        {"cross-fade after slides right", crossfade, 1, {0, 1, 12}},
        {"cross-fade before slides left", crossfade, -3, {0, 1, -12}},
        {"cross-fade slides less with little padding",
         {PageTransitionOption::crossfade, false, 8, page},
         1,
         {0, 1, 6}},
        {"reduced depth neither scales", reduced(depth), -1, {0, 1, 0}},
        {"reduced cross-fade nor slides", reduced(crossfade), 1, {0, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PageLook look = PageTransition::restingPage(c.style, c.distance);
        EXPECT_DOUBLE_EQ(look.opacity, c.expected.opacity);
        EXPECT_DOUBLE_EQ(look.scale, c.expected.scale);
        EXPECT_DOUBLE_EQ(look.offset, c.expected.offset);
    }
}

TEST(PageTransitionTest, PagesSpringFromTheirOldLookToTheirNewOne)
{
    // Forward from page 0 to page 1: the old page goes behind, the new one comes from in front.
    EXPECT_EQ(PageTransition::page(depth, 1, 0, 0), PageTransition::restingPage(depth, 1));
    const PageLook arriving = PageTransition::page(depth, 1, 0, 0.1);
    EXPECT_GT(arriving.opacity, 0.2);
    EXPECT_LT(arriving.opacity, 0.9);
    EXPECT_GT(arriving.scale, 1);
    EXPECT_LT(arriving.scale, 1.03);
    const PageLook leaving = PageTransition::page(crossfade, 0, -1, 0.1);
    EXPECT_DOUBLE_EQ(leaving.opacity + arriving.opacity, 1);
    EXPECT_LT(leaving.offset, 0);
    EXPECT_GT(leaving.offset, -12);

    const double end = PageTransition::duration(depth, 4);
    EXPECT_GT(end, 0.3);
    EXPECT_LT(end, 0.6);
    EXPECT_EQ(PageTransition::page(depth, 1, 0, end), PageLook{});
    EXPECT_EQ(PageTransition::page(depth, 0, -1, end + 1), (PageLook{0, 0.94, 0}));
    // Reduced motion: the leaving page only fades, it does not slide.
    const PageLook fading = PageTransition::page(reduced(crossfade), 0, 1, 0.1);
    EXPECT_GT(fading.opacity, 0);
    EXPECT_LT(fading.opacity, 1);
    EXPECT_EQ(fading.offset, 0);
    EXPECT_EQ(PageTransition::duration(reduced(crossfade), 4), end);
}

TEST(PageTransitionTest, RippleFadesTilesColumnByColumnFromTheLeadingSide)
{
    EXPECT_DOUBLE_EQ(PageTransition::rippleDelay(3, 4, 1), 0);
    EXPECT_DOUBLE_EQ(PageTransition::rippleDelay(0, 4, 1), 0.105);
    EXPECT_DOUBLE_EQ(PageTransition::rippleDelay(0, 4, -1), 0);
    EXPECT_DOUBLE_EQ(PageTransition::rippleDelay(3, 4, -1), 0.105);
    EXPECT_DOUBLE_EQ(PageTransition::duration(ripple, 4), 0.105 + 0.18);

    const double delay = 0.07;
    const TileLook hidden{0, 0.92};
    EXPECT_EQ(PageTransition::tile(ripple, true, 0, delay), hidden);
    EXPECT_EQ(PageTransition::tile(ripple, true, delay, delay), hidden);
    const TileLook coming = PageTransition::tile(ripple, true, delay + 0.09, delay);
    const TileLook going = PageTransition::tile(ripple, false, delay + 0.09, delay);
    // Easing out: more than half way at half the time.
    EXPECT_GT(coming.opacity, 0.5);
    EXPECT_LT(coming.opacity, 1);
    EXPECT_GT(coming.scale, 0.92);
    EXPECT_DOUBLE_EQ(coming.opacity + going.opacity, 1);
    EXPECT_EQ(PageTransition::tile(ripple, true, delay + 0.18, delay), TileLook{});
    EXPECT_EQ(PageTransition::tile(ripple, false, delay + 3, delay), hidden);

    EXPECT_EQ(PageTransition::tile(depth, false, 0.01, 0), TileLook{}) << "only ripple moves tiles";
    // Reduced motion: a plain fade of every tile at once, without shrinking.
    const TileLook fading = PageTransition::tile(reduced(ripple), true, 0.09, delay);
    EXPECT_DOUBLE_EQ(fading.opacity, coming.opacity);
    EXPECT_EQ(fading.scale, 1);
    EXPECT_EQ(PageTransition::tile(reduced(ripple), false, 0.18, delay), (TileLook{0, 1}));
    EXPECT_DOUBLE_EQ(PageTransition::duration(reduced(ripple), 4), 0.18);
}

} // namespace
