#include "platform/linux/calendar/ICalendarExpand.h"

#include <QSet>
#include <QTimeZone>
#include <algorithm>
#include <libical/ical.h>

namespace {

// An occurrence's wall-clock time read in the zone the event started in.
QDateTime inZoneOf(const QDateTime& like, const QDate& date, const QTime& time)
{
    if (like.timeSpec() == Qt::LocalTime)
        return QDateTime(date, time);
    return QDateTime(date, time, like.timeZone());
}

// The same moment read in the zone the event started in: the iterator walks that zone's wall clock.
QDateTime inZoneOf(const QDateTime& like, const QDateTime& at)
{
    return like.timeSpec() == Qt::LocalTime ? at.toLocalTime() : at.toTimeZone(like.timeZone());
}

icaltimetype wallClock(const QDateTime& at, bool isDate)
{
    icaltimetype time = icaltime_null_time();
    time.year = at.date().year();
    time.month = at.date().month();
    time.day = at.date().day();
    time.is_date = isDate ? 1 : 0;
    if (!isDate) {
        time.hour = at.time().hour();
        time.minute = at.time().minute();
        time.second = at.time().second();
    }
    return time;
}

QString occurrenceKey(const QString& uid, const QDateTime& start)
{
    return uid + u'\n' + QString::number(start.toMSecsSinceEpoch());
}

CalendarEvent instance(const ICalendarEntry& entry, const QString& calendarId, const QDateTime& start)
{
    CalendarEvent event;
    event.calendarId = calendarId;
    event.title = entry.title;
    event.start = start;
    event.end = start.addSecs(entry.durationSeconds);
    event.allDay = entry.allDay;
    event.cancelled = entry.cancelled;
    event.hasAttendees = entry.hasAttendees;
    event.url = entry.url;
    event.location = entry.location;
    event.notes = entry.notes;
    return event;
}

bool overlaps(const QDateTime& start, qint64 duration, const QDateTime& from, const QDateTime& to)
{
    return start < to && (start.addSecs(duration) > from || start >= from);
}

// `steps` is what the calendar's rules may still take; each occurrence followed takes one.
void expand(const ICalendarEntry& entry, const QString& calendarId, const QDateTime& from,
            const QDateTime& to, const QSet<QString>& replaced, int& steps, QList<CalendarEvent>& out)
{
    icalrecurrencetype rule = icalrecurrencetype_from_string(entry.rule.constData());
    if (rule.freq == ICAL_NO_RECURRENCE)
        return;
    // An end in UTC, as most calendars write it, compared as it is with the wall clock of a zone east of
    // UTC would come before the last occurrence and drop it.
    if (!icaltime_is_null_time(rule.until) && !rule.until.is_date && icaltime_is_utc(rule.until)) {
        const QDateTime until(QDate(rule.until.year, rule.until.month, rule.until.day),
                              QTime(rule.until.hour, rule.until.minute, rule.until.second), QTimeZone::utc());
        if (until.isValid())
            rule.until = wallClock(inZoneOf(entry.start, until), entry.allDay);
    }
    icalrecur_iterator* iterator = icalrecur_iterator_new(rule, wallClock(entry.start, entry.allDay));
    if (!iterator)
        return;
    // Rules without a count can skip straight to a day before the window, allowing for the event's length.
    const QDateTime earliest = from.addSecs(-entry.durationSeconds).addDays(-1);
    const QDateTime skipTo = inZoneOf(entry.start, earliest);
    if (skipTo > entry.start)
        icalrecur_iterator_set_start(iterator, wallClock(skipTo, entry.allDay));
    int found = 0;
    for (int step = 0; step < ICalendarExpand::maxSteps && found < ICalendarExpand::maxInstances && steps > 0;
         ++step, --steps) {
        const icaltimetype next = icalrecur_iterator_next(iterator);
        if (icaltime_is_null_time(next))
            break;
        const QDateTime start = entry.allDay ? QDate(next.year, next.month, next.day).startOfDay()
                                             : inZoneOf(entry.start, QDate(next.year, next.month, next.day),
                                                        QTime(next.hour, next.minute, next.second));
        if (!start.isValid())
            continue;
        if (start >= to)
            break;
        if (!overlaps(start, entry.durationSeconds, from, to) ||
            replaced.contains(occurrenceKey(entry.uid, start)) || entry.exceptionDates.contains(start))
            continue;
        out.append(instance(entry, calendarId, start));
        ++found;
    }
    icalrecur_iterator_free(iterator);
}

// `out` holds the entry's instances so far and no other event's.
void addExtraDates(const ICalendarEntry& entry, const QString& calendarId, const QDateTime& from,
                   const QDateTime& to, const QSet<QString>& replaced, QList<CalendarEvent>& out)
{
    for (const QDateTime& start : entry.extraDates) {
        if (!overlaps(start, entry.durationSeconds, from, to) ||
            replaced.contains(occurrenceKey(entry.uid, start)) || entry.exceptionDates.contains(start))
            continue;
        const auto sameStart = [&](const CalendarEvent& event) { return event.start == start; };
        // A date the rule gives already is one instance, not two.
        if (std::none_of(out.cbegin(), out.cend(), sameStart))
            out.append(instance(entry, calendarId, start));
    }
}

} // namespace

namespace ICalendarExpand {

QList<CalendarEvent> events(const ICalendarData& data, const QString& calendarId, const QDateTime& from,
                            const QDateTime& to)
{
    QSet<QString> replaced;
    for (const ICalendarEntry& entry : data.entries)
        if (entry.recurrenceId)
            replaced.insert(occurrenceKey(entry.uid, *entry.recurrenceId));
    QList<CalendarEvent> out;
    int steps = maxCalendarSteps;
    for (const ICalendarEntry& entry : data.entries) {
        if (entry.recurrenceId) {
            if (overlaps(entry.start, entry.durationSeconds, from, to))
                out.append(instance(entry, calendarId, entry.start));
            continue;
        }
        QList<CalendarEvent> instances;
        if (!entry.rule.isEmpty())
            expand(entry, calendarId, from, to, replaced, steps, instances);
        else if (overlaps(entry.start, entry.durationSeconds, from, to))
            instances.append(instance(entry, calendarId, entry.start));
        addExtraDates(entry, calendarId, from, to, replaced, instances);
        out.append(instances);
    }
    return out;
}

} // namespace ICalendarExpand
