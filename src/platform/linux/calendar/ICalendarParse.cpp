#include "platform/linux/calendar/ICalendarParse.h"

#include <QTimeZone>
#include <libical/ical.h>
#include <memory>

namespace {

// More single dates than a day could ever show are not read, whatever a hostile file lists.
constexpr qsizetype maxExtraDates = 1000;

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};

QString text(const char* value)
{
    return value ? QString::fromUtf8(value).left(ICalendarParse::maxTextLength) : QString();
}

QString propertyText(icalcomponent* event, icalproperty_kind kind)
{
    icalproperty* property = icalcomponent_get_first_property(event, kind);
    if (!property)
        return {};
    // The string form of a text value keeps its escapes ("\\,"), which are not part of the title.
    if (icalvalue* value = icalproperty_get_value(property); value && icalvalue_isa(value) == ICAL_TEXT_VALUE)
        return text(icalvalue_get_text(value));
    return text(icalproperty_get_value_as_string(property));
}

// Zone names are IANA names, Windows names (Outlook, Exchange) or IANA names behind a vendor prefix
// ("/freeassociation.sourceforge.net/Europe/Berlin"); a name none of those resolves reads as local time.
QTimeZone zoneNamed(const QString& name)
{
    if (name.isEmpty())
        return {};
    if (const QTimeZone zone(name.toUtf8()); zone.isValid())
        return zone;
    if (const QByteArray iana = QTimeZone::windowsIdToDefaultIanaId(name.toUtf8()); !iana.isEmpty())
        return QTimeZone(iana);
    for (qsizetype slash = name.indexOf(u'/'); slash >= 0; slash = name.indexOf(u'/', slash + 1))
        if (const QTimeZone zone(name.mid(slash + 1).toUtf8()); zone.isValid())
            return zone;
    return {};
}

QDateTime dateTime(const icaltimetype& time, const QTimeZone& zone)
{
    const QDate date(time.year, time.month, time.day);
    if (time.is_date)
        return date.startOfDay(zone.isValid() ? zone : QTimeZone::systemTimeZone());
    const QTime clock(time.hour, time.minute, time.second);
    if (icaltime_is_utc(time))
        return QDateTime(date, clock, Qt::UTC);
    if (zone.isValid())
        return QDateTime(date, clock, zone);
    return QDateTime(date, clock);
}

QTimeZone zoneOf(icalproperty* property)
{
    icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    return tzid ? zoneNamed(text(icalparameter_get_tzid(tzid))) : QTimeZone();
}

} // namespace

namespace ICalendarParse {

std::optional<ICalendarEntry> entry(icalcomponent* event)
{
    icalproperty* startProperty = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    if (!startProperty)
        return std::nullopt;
    const icaltimetype start = icalproperty_get_dtstart(startProperty);
    if (icaltime_is_null_time(start) || !icaltime_is_valid_time(start))
        return std::nullopt;
    const QTimeZone zone = zoneOf(startProperty);
    ICalendarEntry entry;
    entry.uid = propertyText(event, ICAL_UID_PROPERTY);
    entry.title = propertyText(event, ICAL_SUMMARY_PROPERTY);
    entry.location = propertyText(event, ICAL_LOCATION_PROPERTY);
    entry.url = propertyText(event, ICAL_URL_PROPERTY);
    entry.notes = propertyText(event, ICAL_DESCRIPTION_PROPERTY);
    entry.allDay = start.is_date;
    entry.start = dateTime(start, zone);
    if (!entry.start.isValid())
        return std::nullopt;
    if (icalproperty* status = icalcomponent_get_first_property(event, ICAL_STATUS_PROPERTY))
        entry.cancelled = icalproperty_get_status(status) == ICAL_STATUS_CANCELLED;
    entry.hasAttendees = icalcomponent_get_first_property(event, ICAL_ATTENDEE_PROPERTY) != nullptr;

    if (icalproperty* end = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
        const QDateTime until = dateTime(icalproperty_get_dtend(end), zoneOf(end));
        entry.durationSeconds = std::max<qint64>(0, entry.start.secsTo(until));
    } else if (icalproperty* duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
        entry.durationSeconds = std::max(0, icaldurationtype_as_int(icalproperty_get_duration(duration)));
    } else if (entry.allDay) {
        entry.durationSeconds = 86400;
    }

    if (icalproperty* rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY))
        entry.rule = QByteArray(icalproperty_get_value_as_string(rule));
    for (icalproperty* exception = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); exception;
         exception = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY))
        entry.exceptionDates.append(dateTime(icalproperty_get_exdate(exception), zoneOf(exception)));
    for (icalproperty* extra = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
         extra && entry.extraDates.size() < maxExtraDates;
         extra = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype value = icalproperty_get_rdate(extra);
        const icaltimetype at = icaltime_is_null_time(value.time) ? value.period.start : value.time;
        if (!icaltime_is_null_time(at) && icaltime_is_valid_time(at))
            entry.extraDates.append(dateTime(at, zoneOf(extra)));
    }
    if (icalproperty* id = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY))
        entry.recurrenceId = dateTime(icalproperty_get_recurrenceid(id), zoneOf(id));
    return entry;
}

} // namespace ICalendarParse

namespace {

// The parser's time grows with the square of a line's length, so a content line (with its folded
// continuations) is cut well before that matters; the cut text is longer than anything the band reads.
// The parser also gives up on a whole file for one component left open, so open components are closed
// where their parent ends.
QByteArray repaired(const QByteArray& text)
{
    constexpr qsizetype maxLineBytes = 4 * ICalendarParse::maxTextLength;
    QByteArray out;
    out.reserve(std::min(text.size(), qsizetype(16 * 1024 * 1024)));
    QByteArrayList open;
    qsizetype logical = 0;
    for (qsizetype begin = 0; begin < text.size();) {
        qsizetype end = text.indexOf('\n', begin);
        end = end < 0 ? text.size() : end + 1;
        const QByteArrayView line(text.constData() + begin, end - begin);
        begin = end;
        const bool continuation = line.startsWith(' ') || line.startsWith('\t');
        if (!continuation) {
            logical = 0;
            const QByteArray name = line.trimmed().toByteArray().toUpper();
            if (name.startsWith("BEGIN:")) {
                open.append(name.mid(6));
            } else if (name.startsWith("END:")) {
                const qsizetype match = open.lastIndexOf(name.mid(4));
                if (match < 0)
                    continue;
                while (open.size() > match + 1)
                    out.append("END:" + open.takeLast() + "\r\n");
                open.removeLast();
            }
        }
        const qsizetype room = maxLineBytes - logical;
        logical += line.size();
        if (room <= 0)
            continue;
        out.append(line.first(std::min(line.size(), room)));
        if (line.size() > room)
            out.append("\r\n");
    }
    while (!open.isEmpty())
        out.append("END:" + open.takeLast() + "\r\n");
    return out;
}

} // namespace

namespace ICalendarParse {

ICalendarData parse(const QByteArray& text)
{
    ICalendarData data;
    const std::unique_ptr<icalcomponent, ComponentFree> root(
        icalparser_parse_string(repaired(text).constData()));
    if (!root)
        return data;
    icalcomponent* calendar = root.get();
    if (icalcomponent_isa(calendar) != ICAL_VCALENDAR_COMPONENT)
        calendar = icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT);
    if (!calendar)
        return data;
    for (icalproperty* property = icalcomponent_get_first_property(calendar, ICAL_X_PROPERTY); property;
         property = icalcomponent_get_next_property(calendar, ICAL_X_PROPERTY))
        if (qstrcmp(icalproperty_get_x_name(property), "X-WR-CALNAME") == 0)
            data.name = ::text(icalproperty_get_x(property));
    for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event;
         event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
        if (std::optional<ICalendarEntry> read = ICalendarParse::entry(event))
            data.entries.append(std::move(*read));
    return data;
}

} // namespace ICalendarParse
