#include "deck/DealIn.h"

#include "deck/Spring.h"

#include <algorithm>

namespace DealIn {

namespace {

struct SpringShape {
    double response;
    double damping;
};
// The position, turn and size land with a little bounce; opacity and blur settle without one.
constexpr SpringShape landing{0.42, 0.78};
constexpr SpringShape fade{0.3, 1.0};

constexpr double startOpacity = 0;
constexpr double startBlur = 3;
constexpr double startTurn = -6;
constexpr double startScale = 0.9;
constexpr double fromShare = 0.22;
constexpr double gatheredOffsetShare = 0.25;

double hold(double delay)
{
    return std::max(delay, 0.001);
}

double track(double start, double end, double flight, SpringShape spring)
{
    if (flight <= 0)
        return start;
    if (flight >= flightSeconds)
        return end;
    return start + (end - start) * Spring::progress(flight, spring.response, spring.damping);
}

} // namespace

double delay(int row, int column)
{
    return (row + column) * diagonalDelay;
}

QPointF from(int row, int column, double step)
{
    return {-fromShare * (column + 0.5) * step, -fromShare * (row + 0.5) * step};
}

Values at(double elapsed, double delay, QPointF from)
{
    const double flight = elapsed - hold(delay);
    const Values rest;
    return {track(startOpacity, rest.opacity, flight, fade),
            {track(from.x(), 0, flight, landing), track(from.y(), 0, flight, landing)},
            track(startTurn, rest.turn, flight, landing),
            track(startBlur, rest.blur, flight, fade),
            track(startScale, rest.scale, flight, landing)};
}

double duration(double delay)
{
    return hold(delay) + flightSeconds + restHoldSeconds;
}

Values gathered(QPointF from, double progress)
{
    const double p = std::clamp(progress, 0.0, 1.0);
    Values values;
    values.opacity = 1 - p;
    values.scale = 1 + (gatheredScale - 1) * p;
    values.offset = from * (gatheredOffsetShare * p);
    return values;
}

double gatherProgress(double elapsed, double seconds)
{
    if (seconds <= 0)
        return 1;
    const double t = std::clamp(elapsed / seconds, 0.0, 1.0);
    return t * t;
}

} // namespace DealIn
