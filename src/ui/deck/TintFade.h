#pragma once

#include <QColor>
#include <optional>

// The wallpaper tint of the deck's glass and border while it changes: eased in and out over 0.2 s from the
// look of the moment to the new tint. Having no tint is a tint of weight 0, so that the tint fades in and out
// rather than changing hue on the way. A pure function of the time it is asked about.
class TintFade final {
public:
    static constexpr double seconds = 0.2;

    // The tint drawn at a moment: its colour, and how much of it shows (0 untinted, 1 fully tinted).
    struct Look {
        QColor colour;
        double weight = 0;
    };

    // Heads for `tint` from the look at `now`.
    void retarget(const std::optional<QColor>& tint, double now);
    [[nodiscard]] const std::optional<QColor>& target() const { return m_target; }
    [[nodiscard]] Look at(double now) const;
    [[nodiscard]] bool isSettled(double now) const { return now - m_start >= seconds; }

private:
    Look m_from;
    std::optional<QColor> m_target;
    double m_start = -seconds;
};
