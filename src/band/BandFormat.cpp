#include "band/BandFormat.h"

#include <algorithm>
#include <cmath>

namespace BandFormat {

namespace {

double nonNegative(double value)
{
    return std::isfinite(value) ? std::max(0.0, value) : 0.0;
}

} // namespace

QString rate(double bytesPerSecond)
{
    const double v = nonNegative(bytesPerSecond);
    if (v >= 1'000'000)
        return QString::asprintf("%.1fM", v / 1'000'000);
    if (v >= 1'000)
        return QString::asprintf("%.0fK", v / 1'000);
    return QString::asprintf("%.0f", v);
}

QString uptime(double seconds)
{
    // Kept within what a 64-bit count holds; a countdown to a date stored by hand can be that far off.
    constexpr double longest = 1e18;
    const auto s = static_cast<qint64>(std::min(nonNegative(seconds), longest));
    const qint64 days = s / 86'400;
    const qint64 hours = s % 86'400 / 3'600;
    const qint64 minutes = s % 3'600 / 60;
    if (s < 3'600)
        return QStringLiteral("%1m").arg(minutes);
    if (s < 86'400)
        return QStringLiteral("%1h %2m").arg(hours).arg(minutes);
    return QStringLiteral("%1d %2h").arg(days).arg(hours);
}

} // namespace BandFormat
