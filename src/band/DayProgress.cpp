#include "DayProgress.h"

#include <QDateTime>
#include <QTimeZone>
#include <algorithm>
#include <cmath>

namespace {

// The first moment of `date` in the time zone `now` is given in; a day that begins in a daylight-saving gap
// begins at the gap's end.
QDateTime startOfDay(QDate date, const QDateTime& now)
{
    if (now.timeSpec() == Qt::TimeZone)
        return date.startOfDay(now.timeZone());
    return date.startOfDay(now.timeSpec(), now.timeSpec() == Qt::OffsetFromUTC ? now.offsetFromUtc() : 0);
}

} // namespace

double DayProgress::fraction(const QDateTime& now)
{
    const QDateTime start = startOfDay(now.date(), now);
    QDateTime end = startOfDay(now.date().addDays(1), now);
    if (!end.isValid())
        end = start.addSecs(86400);
    const auto span = static_cast<double>(start.msecsTo(end));
    if (!(span > 0))
        return 0.0;
    return std::clamp(static_cast<double>(start.msecsTo(now)) / span, 0.0, 1.0);
}

QString DayProgress::caption(double fraction)
{
    return QStringLiteral("DAY %1%").arg(std::lround(fraction * 100));
}
