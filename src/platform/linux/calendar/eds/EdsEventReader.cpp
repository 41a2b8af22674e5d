#include "platform/linux/calendar/eds/EdsEventReader.h"

#include "core/Logging.h"
#include "platform/linux/calendar/ICalendarExpand.h"
#include "platform/linux/calendar/eds/EdsEvents.h"
#include "platform/linux/calendar/eds/GlibLoopThread.h"

#include <libecal/libecal.h>

EdsEventReader::EdsEventReader(std::shared_ptr<GlibLoopThread> loop)
    : m_loop(std::move(loop))
{
}

QList<CalendarEvent> EdsEventReader::events(const std::vector<EdsCalendar>& calendars, const QDateTime& from,
                                            const QDateTime& to)
{
    QList<CalendarEvent> events;
    for (const EdsCalendar& calendar : calendars) {
        std::shared_ptr<const ICalendarData> data;
        if (std::optional<ICalendarData> read = this->read(calendar, from, to)) {
            data = std::make_shared<const ICalendarData>(std::move(*read));
            const std::lock_guard lock(m_mutex);
            m_last[calendar.id] = data;
        } else {
            const std::lock_guard lock(m_mutex);
            if (const auto found = m_last.find(calendar.id); found != m_last.end())
                data = found->second;
        }
        if (data)
            events.append(ICalendarExpand::events(*data, calendar.id, from, to));
    }
    return events;
}

std::optional<ICalendarData> EdsEventReader::read(const EdsCalendar& calendar, const QDateTime& from,
                                                  const QDateTime& to) const
{
    if (!calendar.client)
        return std::nullopt;
    GCancellable* cancellable = g_cancellable_new();
    // The backend may hang without quitting; the bus would then wait for ever.
    m_loop->postAfter(timeout, [cancellable = G_CANCELLABLE(g_object_ref(cancellable))] {
        g_cancellable_cancel(cancellable);
        g_object_unref(cancellable);
    });
    GSList* components = nullptr;
    GError* error = nullptr;
    std::optional<ICalendarData> data;
    if (e_cal_client_get_object_list_sync(calendar.client.get(), EdsEvents::rangeQuery(from, to).constData(),
                                          &components, cancellable, &error)) {
        data = EdsEvents::entries(components);
    } else {
        qCWarning(lcPlatform).noquote()
            << "Marquetto: cannot read the calendar" << calendar.title << "("
            << (error ? QString::fromUtf8(error->message) : QString()) << "); keeping its last events";
    }
    g_slist_free_full(components, g_object_unref);
    g_clear_error(&error);
    g_object_unref(cancellable);
    return data;
}
