#pragma once

// A spring's way from 0 to 1 after a step, as a function of time, so that an animation is sampled rather than
// simulated. `response` is the period of the undamped spring in seconds; `dampingFraction` 1 is critical
// damping (no overshoot), less overshoots and rings.
namespace Spring {

[[nodiscard]] double progress(double elapsedSeconds, double response, double dampingFraction);
// When the spring is within a thousandth of its rest.
[[nodiscard]] double settleTime(double response, double dampingFraction);

// One value moving on a spring towards its target; a new target starts from where the value is now.
class Value {
public:
    Value(double initial, double response, double dampingFraction);

    [[nodiscard]] double target() const { return m_to; }
    [[nodiscard]] double at(double seconds) const;
    [[nodiscard]] bool isSettled(double seconds) const;
    void retarget(double target, double seconds);

private:
    double m_from;
    double m_to;
    double m_start = 0;
    double m_response;
    double m_damping;
};

} // namespace Spring
