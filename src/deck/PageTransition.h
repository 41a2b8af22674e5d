#pragma once

#include "model/DeckOptions.h"

#include <QSizeF>

// How the pages of the deck look while the current page changes, as pure functions of the time since the
// change, so that a frame only samples them. Each page moves with a spring from its look before the change to
// its look after it; with the ripple style the tiles fade in and out column by column instead. With reduced
// motion pages and tiles only fade: ripple becomes a plain fade without its wave, and depth and cross-fade
// pages neither scale nor slide.
namespace PageTransition {

// A whole page: its opacity, its scale about its centre and its horizontal offset in points.
struct PageLook {
    double opacity = 1;
    double scale = 1;
    double offset = 0;

    bool operator==(const PageLook&) const = default;
};

// One tile of a rippling page: its opacity and its scale about its centre.
struct TileLook {
    double opacity = 1;
    double scale = 1;

    bool operator==(const TileLook&) const = default;
};

// What the look of a page depends on besides time.
struct Style {
    PageTransitionOption option = PageTransitionOption::ripple;
    bool reduceMotion = false;
    double tilePadding = 14;
    QSizeF pageSize;
};

constexpr double pageResponse = 0.26;
constexpr double pageDamping = 1.0;
constexpr double rippleColumnDelay = 0.035;
constexpr double tileFadeSeconds = 0.18;
constexpr double hiddenTileScale = 0.92;
constexpr double depthBehindScale = 0.94;

// The resting look of the page `distance` pages after the current one (negative: before it).
[[nodiscard]] PageLook restingPage(const Style& style, int distance);
// A page `elapsed` seconds after the current page changed, which moved it from `distanceBefore` pages away
// from the current one to `distanceAfter`.
[[nodiscard]] PageLook page(const Style& style, int distanceBefore, int distanceAfter, double elapsed);

// How long a tile of a rippling page waits: the column that leads the way (the rightmost when going forward,
// `direction` > 0) moves first.
[[nodiscard]] double rippleDelay(int column, int columns, int direction);
// A tile of a page that became current (`visible`) or stopped being so, `elapsed` seconds after the change.
// Only the ripple style moves tiles; the others leave them at rest.
[[nodiscard]] TileLook tile(const Style& style, bool visible, double elapsed, double delay);

// How long after the change every page and tile is at rest.
[[nodiscard]] double duration(const Style& style, int columns);

} // namespace PageTransition
