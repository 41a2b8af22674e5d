#pragma once

// A spring's way from 0 to 1 after a step, as a function of time, so that an animation is sampled rather than
// simulated. `response` is the period of the undamped spring in seconds; `dampingFraction` 1 is critical
// damping (no overshoot), less overshoots and rings.
namespace Spring {

[[nodiscard]] double progress(double elapsedSeconds, double response, double dampingFraction);
// When the spring is within a thousandth of its rest.
[[nodiscard]] double settleTime(double response, double dampingFraction);

} // namespace Spring
