#include "BandFormat.h"

#include <cmath>

namespace {

// Far beyond any uptime, and within what a 64-bit count of seconds holds.
constexpr double largestSeconds = 1e15;

} // namespace

QString BandFormat::uptime(double seconds)
{
    const auto s = seconds > 0 ? static_cast<qint64>(std::fmin(seconds, largestSeconds)) : qint64{0};
    const qint64 days = s / 86400;
    const qint64 hours = s % 86400 / 3600;
    const qint64 minutes = s % 3600 / 60;
    if (s < 3600)
        return QStringLiteral("%1m").arg(minutes);
    if (s < 86400)
        return QStringLiteral("%1h %2m").arg(hours).arg(minutes);
    return QStringLiteral("%1d %2h").arg(days).arg(hours);
}
