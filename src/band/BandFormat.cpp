#include "band/BandFormat.h"

#include <algorithm>
#include <cmath>
#include <iterator>

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

QString bytes(qint64 count, const QLocale& locale)
{
    struct Unit {
        double size;
        const char* name;
        int digits;
    };
    static constexpr Unit units[] = {{1e12, "TB", 2}, {1e9, "GB", 2}, {1e6, "MB", 1}};
    const double v = nonNegative(static_cast<double>(count));
    const Unit& unit =
        *std::find_if(std::begin(units), std::end(units) - 1, [v](const Unit& u) { return v >= u.size; });
    QString number = locale.toString(v / unit.size, 'f', unit.digits);
    if (const QString point = locale.decimalPoint(); number.contains(point)) {
        while (number.endsWith(locale.zeroDigit()))
            number.chop(locale.zeroDigit().size());
        if (number.endsWith(point))
            number.chop(point.size());
    }
    return number + u' ' + QLatin1String(unit.name);
}

} // namespace BandFormat
