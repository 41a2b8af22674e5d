#include "deck/PageTransition.h"

#include "deck/Spring.h"

#include <algorithm>

namespace PageTransition {

namespace {

constexpr double slideLimit = 12;
constexpr double depthFrontLimit = 1.06;

double mix(double from, double to, double progress)
{
    return from + (to - from) * progress;
}

double easeOut(double elapsed, double seconds)
{
    const double t = std::clamp(elapsed / seconds, 0.0, 1.0);
    return 1 - (1 - t) * (1 - t);
}

} // namespace

PageLook restingPage(const Style& style, int distance)
{
    if (distance == 0 || style.option == PageTransitionOption::ripple)
        return {};
    PageLook look{0, 1, 0};
    if (style.reduceMotion)
        return look;
    const double inset = style.tilePadding - 2;
    if (style.option == PageTransitionOption::depth) {
        const double side = std::max({style.pageSize.width(), style.pageSize.height(), 1.0});
        look.scale = distance < 0 ? depthBehindScale : std::min(depthFrontLimit, 1 + 2 * inset / side);
    } else {
        look.offset = std::min(inset, slideLimit) * (distance < 0 ? -1 : 1);
    }
    return look;
}

PageLook page(const Style& style, int distanceBefore, int distanceAfter, double elapsed)
{
    const PageLook to = restingPage(style, distanceAfter);
    const PageLook from = restingPage(style, distanceBefore);
    const double progress = elapsed >= Spring::settleTime(pageResponse, pageDamping)
                                ? 1
                                : Spring::progress(elapsed, pageResponse, pageDamping);
    return {mix(from.opacity, to.opacity, progress), mix(from.scale, to.scale, progress),
            mix(from.offset, to.offset, progress)};
}

double rippleDelay(int column, int columns, int direction)
{
    const int k = direction > 0 ? columns - 1 - column : column;
    return std::max(k, 0) * rippleColumnDelay;
}

TileLook tile(const Style& style, bool visible, double elapsed, double delay)
{
    const TileLook shown;
    const TileLook hidden{0, hiddenTileScale};
    if (style.option != PageTransitionOption::ripple)
        return shown;
    const TileLook& to = visible ? shown : hidden;
    const TileLook& from = visible ? hidden : shown;
    // Reduced motion keeps the fade and drops the wave and the shrinking.
    if (style.reduceMotion)
        return {mix(from.opacity, to.opacity, easeOut(elapsed, tileFadeSeconds)), 1};
    const double progress = easeOut(elapsed - delay, tileFadeSeconds);
    return {mix(from.opacity, to.opacity, progress), mix(from.scale, to.scale, progress)};
}

double duration(const Style& style, int columns)
{
    if (style.option == PageTransitionOption::ripple)
        return (style.reduceMotion ? 0 : std::max(columns - 1, 0) * rippleColumnDelay) + tileFadeSeconds;
    return Spring::settleTime(pageResponse, pageDamping);
}

} // namespace PageTransition
