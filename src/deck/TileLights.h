#pragma once

#include <QHash>
#include <QUuid>
#include <optional>

// The state lights of the tiles on show while they change: each light eases out over 0.28 s from the
// opacity of the moment to its new one. A tile that gains or loses its light (its action changed) shows or
// hides it at once: only a change between on and off is animated. Tiles are known by id, so that a light
// moves with its tile. A pure function of the time it is asked about.
class TileLights final {
public:
    static constexpr double seconds = 0.28;
    static constexpr double onOpacity = 0.97;
    static constexpr double offOpacity = 0.2;

    // Heads the light of each tile on show for its answer (on, off, or no light) from its look at `now`,
    // and forgets the tiles no longer on show.
    void follow(const QHash<QUuid, std::optional<bool>>& answers, double now);
    // The light's opacity at `now`; nothing for a tile without a light.
    [[nodiscard]] std::optional<double> opacity(const QUuid& tileId, double now) const;
    [[nodiscard]] bool isSettled(double now) const;

private:
    void retarget(const QUuid& tileId, std::optional<bool> answer, double now);

    struct Light {
        double from = 0;
        double to = 0;
        double start = 0;
    };

    QHash<QUuid, Light> m_lights;
};
