#include "band/MeetingRules.h"

#include <QRegularExpression>
#include <QTimeZone>
#include <algorithm>
#include <cmath>

namespace MeetingRules {

std::optional<QUrl> meetingLink(const CalendarEvent& event)
{
    static const QRegularExpression link(
        QStringLiteral(R"(https://([\w-]+\.)*(zoom\.us|meet\.google\.com|teams\.microsoft\.com|)"
                       R"(teams\.live\.com|webex\.com|facetime\.apple\.com)(/[^\s<>"]*)?)"));
    QStringList parts;
    for (const QString* part : {&event.url, &event.location, &event.notes})
        if (!part->isEmpty())
            parts.append(*part);
    const QString text = parts.join(u' ').replace(u'\n', u' ');
    const QRegularExpressionMatch match = link.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QUrl url(match.captured(), QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

std::optional<CalendarEvent> nextMeeting(const QList<CalendarEvent>& events, const QDateTime& now)
{
    const CalendarEvent* next = nullptr;
    for (const CalendarEvent& event : events) {
        if (event.allDay || event.cancelled || event.end <= now)
            continue;
        if (!event.hasAttendees && !meetingLink(event))
            continue;
        if (!next || event.start < next->start)
            next = &event;
    }
    if (!next)
        return std::nullopt;
    return *next;
}

QString countdown(const QDateTime& start, const QDateTime& now)
{
    const qint64 milliseconds = now.msecsTo(start);
    if (milliseconds <= 0)
        return QStringLiteral("Now");
    const qint64 seconds = milliseconds / 1000;
    if (seconds < 3600)
        return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1h %2m").arg(seconds / 3600).arg(seconds % 3600 / 60, 2, 10, QLatin1Char('0'));
}

QDateTime dayEnd(const QDateTime& now)
{
    const QDateTime start = now.date().startOfDay(now.timeZone());
    const QDateTime end = now.date().addDays(1).startOfDay(now.timeZone());
    return end.isValid() ? end : start.addSecs(86400);
}

} // namespace MeetingRules
