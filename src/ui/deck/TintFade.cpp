#include "ui/deck/TintFade.h"

#include <algorithm>

namespace {

double easeInOut(double progress)
{
    return progress * progress * (3 - 2 * progress);
}

double mix(double from, double to, double amount)
{
    return from + (to - from) * amount;
}

} // namespace

void TintFade::retarget(const std::optional<QColor>& tint, double now)
{
    if (tint == m_target)
        return;
    m_from = at(now);
    m_target = tint;
    m_start = now;
}

TintFade::Look TintFade::at(double now) const
{
    const Look to{m_target.value_or(m_from.colour), m_target ? 1.0 : 0.0};
    const double amount = easeInOut(std::clamp((now - m_start) / seconds, 0.0, 1.0));
    // Fading in from no tint at all keeps the new colour throughout.
    const QColor from = m_from.weight > 0 ? m_from.colour : to.colour;
    return {QColor::fromRgbF(static_cast<float>(mix(from.redF(), to.colour.redF(), amount)),
                             static_cast<float>(mix(from.greenF(), to.colour.greenF(), amount)),
                             static_cast<float>(mix(from.blueF(), to.colour.blueF(), amount))),
            mix(m_from.weight, to.weight, amount)};
}
