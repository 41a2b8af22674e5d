#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

typedef struct icalcomponent_impl icalcomponent;

// One VEVENT of an iCalendar file, reduced to plain values that any thread may read.
struct ICalendarEntry {
    QString uid;
    QString title;
    QString location;
    QString url;
    QString notes;
    bool allDay = false;
    bool cancelled = false;
    bool hasAttendees = false;
    // In the event's own time zone, so recurrences keep their wall-clock time across daylight-saving changes.
    QDateTime start;
    qint64 durationSeconds = 0;
    // The RRULE's text, empty when the event does not repeat.
    QByteArray rule;
    QList<QDateTime> exceptionDates;
    // Further starts the event names one by one (RDATE), beside its rule or without one.
    QList<QDateTime> extraDates;
    // Set on an entry that replaces one instance of the recurring event with the same `uid`.
    std::optional<QDateTime> recurrenceId;
};

struct ICalendarData {
    // The calendar's own name (X-WR-CALNAME), when it gives one.
    QString name;
    QList<ICalendarEntry> entries;
};

// Reads iCalendar text. Whatever the input, it answers what it could read; broken events are left out.
// Long texts are cut, since only the start of the notes can hold a meeting link worth showing.
namespace ICalendarParse {

inline constexpr qsizetype maxTextLength = 64 * 1024;

[[nodiscard]] ICalendarData parse(const QByteArray& text);
// One VEVENT, or nothing when it has no usable start.
[[nodiscard]] std::optional<ICalendarEntry> entry(icalcomponent* event);

} // namespace ICalendarParse
