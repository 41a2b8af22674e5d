#include "platform/linux/calendar/eds/EdsEvents.h"

#include <libecal/libecal.h>

namespace {

QByteArray isoTime(const QDateTime& at)
{
    return at.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1();
}

} // namespace

namespace EdsEvents {

QByteArray rangeQuery(const QDateTime& from, const QDateTime& to)
{
    return "(occur-in-time-range? (make-time \"" + isoTime(from.addDays(-1)) + "\") (make-time \"" +
           isoTime(to.addDays(1)) + "\"))";
}

ICalendarData entries(const GSList* components)
{
    ICalendarData data;
    for (const GSList* item = components; item; item = item->next) {
        auto* component = static_cast<ICalComponent*>(item->data);
        if (!I_CAL_IS_COMPONENT(component) || i_cal_component_isa(component) != I_CAL_VEVENT_COMPONENT)
            continue;
        auto* native = static_cast<icalcomponent*>(i_cal_object_get_native(I_CAL_OBJECT(component)));
        if (std::optional<ICalendarEntry> entry = ICalendarParse::entry(native))
            data.entries.append(std::move(*entry));
    }
    return data;
}

} // namespace EdsEvents
