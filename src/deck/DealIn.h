#pragma once

#include <QPointF>

// The flight of one tile when the deck deals: as pure functions of the time since the deal, so that a frame
// only samples them. Each quantity jumps to its start, holds it for the tile's diagonal delay, springs to
// rest within half a second and holds rest for a tenth of a second.
namespace DealIn {

// What a tile looks like at one moment; the defaults are rest.
struct Values {
    double opacity = 1;
    QPointF offset;
    double turn = 0; // degrees
    double blur = 0; // radius in points
    double scale = 1;

    bool operator==(const Values&) const = default;
};

constexpr double diagonalDelay = 0.04;
constexpr double flightSeconds = 0.5;
constexpr double restHoldSeconds = 0.1;
constexpr double gatheredScale = 0.94;

// Tiles on the same anti-diagonal start together, the top-left one first.
[[nodiscard]] double delay(int row, int column);
// Where a tile's flight starts: 22% of the way from the grid's top-left corner to the tile's centre, back
// towards that corner. `step` is a tile's side plus the gap.
[[nodiscard]] QPointF from(int row, int column, double step);
// The tile `elapsed` seconds after the deal started.
[[nodiscard]] Values at(double elapsed, double delay, QPointF from);
// How long after the deal the tile rests again.
[[nodiscard]] double duration(double delay);
// A card while the deck is gathered, `progress` (0 to 1) of the way into the gather.
[[nodiscard]] Values gathered(QPointF from, double progress);
// The gather eases in over its duration.
[[nodiscard]] double gatherProgress(double elapsed, double seconds);

} // namespace DealIn
