#include "deck/TileLights.h"

#include <algorithm>

namespace {

double easeOut(double progress)
{
    return 1 - (1 - progress) * (1 - progress);
}

double targetOpacity(bool on)
{
    return on ? TileLights::onOpacity : TileLights::offOpacity;
}

} // namespace

void TileLights::retarget(const QUuid& tileId, std::optional<bool> answer, double now)
{
    const auto it = m_lights.find(tileId);
    if (!answer) {
        if (it != m_lights.end())
            m_lights.erase(it);
        return;
    }
    const double to = targetOpacity(*answer);
    if (it == m_lights.end()) {
        m_lights.insert(tileId, {to, to, now - seconds});
        return;
    }
    if (it->to == to)
        return;
    const double current = *opacity(tileId, now);
    *it = {current, to, now};
}

void TileLights::follow(const QHash<QUuid, std::optional<bool>>& answers, double now)
{
    m_lights.removeIf([&answers](const auto& entry) { return !answers.contains(entry.key()); });
    for (auto it = answers.cbegin(); it != answers.cend(); ++it)
        retarget(it.key(), it.value(), now);
}

std::optional<double> TileLights::opacity(const QUuid& tileId, double now) const
{
    const auto it = m_lights.constFind(tileId);
    if (it == m_lights.constEnd())
        return std::nullopt;
    const double progress = easeOut(std::clamp((now - it->start) / seconds, 0.0, 1.0));
    return it->from + (it->to - it->from) * progress;
}

bool TileLights::isSettled(double now) const
{
    return std::all_of(m_lights.cbegin(), m_lights.cend(),
                       [now](const Light& light) { return now - light.start >= seconds; });
}
