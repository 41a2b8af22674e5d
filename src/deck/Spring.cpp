#include "deck/Spring.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Spring {

namespace {

double naturalFrequency(double response)
{
    return 2 * std::numbers::pi / std::max(response, 1e-6);
}

} // namespace

double progress(double elapsedSeconds, double response, double dampingFraction)
{
    if (elapsedSeconds <= 0)
        return 0;
    const double omega = naturalFrequency(response);
    const double zeta = std::clamp(dampingFraction, 0.0, 1.0);
    const double decay = std::exp(-zeta * omega * elapsedSeconds);
    if (zeta >= 1)
        return 1 - decay * (1 + omega * elapsedSeconds);
    const double damped = omega * std::sqrt(1 - zeta * zeta);
    return 1 - decay * (std::cos(damped * elapsedSeconds) +
                        zeta * omega / damped * std::sin(damped * elapsedSeconds));
}

double settleTime(double response, double dampingFraction)
{
    const double zeta = std::clamp(dampingFraction, 0.05, 1.0);
    // The envelope's thousandth; a critically damped spring's extra factor (1 + ωt) needs a little longer.
    const double slack = zeta >= 1 ? 1.5 : 1.0;
    return slack * std::log(1000.0) / (zeta * naturalFrequency(response));
}

Value::Value(double initial, double response, double dampingFraction)
    : m_from(initial)
    , m_to(initial)
    , m_response(response)
    , m_damping(dampingFraction)
{
}

double Value::at(double seconds) const
{
    return m_from + (m_to - m_from) * progress(seconds - m_start, m_response, m_damping);
}

bool Value::isSettled(double seconds) const
{
    return m_from == m_to || seconds - m_start >= settleTime(m_response, m_damping);
}

void Value::retarget(double target, double seconds)
{
    if (target == m_to)
        return;
    m_from = at(seconds);
    m_to = target;
    m_start = seconds;
}

} // namespace Spring
