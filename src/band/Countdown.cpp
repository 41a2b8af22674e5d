#include "Countdown.h"

#include <QDateTime>
#include <algorithm>

namespace {

// Far beyond any date a person picks, and near enough that the milliseconds Qt counts in cannot overflow.
constexpr double farthestSeconds = 9e15;

} // namespace

bool Countdown::isSet(double countdownDate)
{
    return countdownDate > 0;
}

std::optional<qint64> Countdown::days(const QDateTime& now, double countdownDate)
{
    if (!isSet(countdownDate))
        return std::nullopt;
    const auto seconds = static_cast<qint64>(std::min(countdownDate, farthestSeconds));
    QDateTime target = now; // in `now`'s zone
    target.setSecsSinceEpoch(seconds);
    return now.date().daysTo(target.date());
}

QString Countdown::value(const QDateTime& now, double countdownDate)
{
    const auto count = days(now, countdownDate);
    if (!count)
        return QStringLiteral("Set…");
    if (*count == 0)
        return QStringLiteral("Today");
    if (*count > 0)
        return QStringLiteral("%1d").arg(*count);
    return QStringLiteral("%1d ago").arg(-*count);
}

QString Countdown::caption(const QString& countdownLabel)
{
    return countdownLabel.isEmpty() ? QStringLiteral("COUNTDOWN") : countdownLabel.toUpper();
}
