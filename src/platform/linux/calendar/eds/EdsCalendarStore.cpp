#include "platform/linux/calendar/eds/EdsCalendarStore.h"

#include "core/MainThread.h"
#include "platform/linux/calendar/CalendarApplication.h"
#include "platform/linux/calendar/eds/EdsEventReader.h"
#include "platform/linux/calendar/eds/EdsSources.h"
#include "platform/linux/calendar/eds/GlibLoopThread.h"

#include <QPointer>

EdsCalendarStore::EdsCalendarStore(Workspace& workspace, QObject* parent)
    : CalendarStore(parent)
    , m_workspace(workspace)
{
}

EdsCalendarStore::~EdsCalendarStore()
{
    if (m_loop)
        m_loop->post([sources = m_sources] { delete sources; });
}

CalendarStore::Authorization EdsCalendarStore::authorization() const
{
    return m_answered ? Authorization::granted : Authorization::notDetermined;
}

void EdsCalendarStore::requestAccess(std::function<void(bool)> answer)
{
    if (m_answered) {
        answer(true);
        return;
    }
    m_waiting.push_back(std::move(answer));
    if (m_asking)
        return;
    m_asking = true;
    if (!m_loop) {
        m_loop = std::make_shared<GlibLoopThread>();
        m_reader = std::make_shared<EdsEventReader>(m_loop);
        const QPointer<EdsCalendarStore> guard(this);
        EdsSources::Listener listener{
            [guard](bool answered) {
                MainThread::post(guard, [answered](auto& store) { store.answer(answered); });
            },
            [guard](std::vector<EdsCalendar> calendars) {
                MainThread::post(guard, [calendars = std::move(calendars)](auto& store) mutable {
                    store.update(std::move(calendars));
                });
            },
            [guard, pending = m_changePending] {
                // A burst of changes is one change to the reader.
                if (!pending->exchange(true))
                    MainThread::post(guard, [](auto& store) { store.noteChange(); });
            }};
        m_sources = new EdsSources(std::move(listener));
    }
    m_loop->post([sources = m_sources] { sources->start(); });
}

void EdsCalendarStore::stopFollowing()
{
    if (!m_loop)
        return;
    m_answered = false;
    m_asking = false;
    m_loop->post([sources = m_sources] { sources->stop(); });
}

void EdsCalendarStore::answer(bool answered)
{
    // An answer to a request made before `stopFollowing`, which the next request asks again.
    if (!m_asking)
        return;
    m_asking = false;
    m_answered = answered;
    for (const auto& waiting : std::exchange(m_waiting, {}))
        waiting(answered);
    if (answered)
        Q_EMIT changed();
}

void EdsCalendarStore::update(std::vector<EdsCalendar> calendars)
{
    m_calendars = std::move(calendars);
    Q_EMIT changed();
}

void EdsCalendarStore::noteChange()
{
    m_changePending->store(false);
    Q_EMIT changed();
}

QList<CalendarInfo> EdsCalendarStore::calendars() const
{
    QList<CalendarInfo> calendars;
    for (const EdsCalendar& calendar : m_calendars)
        calendars.append({calendar.id, calendar.title});
    return calendars;
}

bool EdsCalendarStore::isWatching(const QString& calendarId) const
{
    return std::any_of(m_calendars.begin(), m_calendars.end(), [&](const EdsCalendar& calendar) {
        return calendar.id == calendarId && calendar.watching;
    });
}

CalendarStore::EventsQuery EdsCalendarStore::eventsQuery(const QDateTime& from, const QDateTime& to,
                                                         const QStringList& calendarIds) const
{
    std::vector<EdsCalendar> chosen;
    for (const EdsCalendar& calendar : m_calendars)
        if (calendarIds.contains(calendar.id))
            chosen.push_back(calendar);
    if (chosen.empty())
        return [] { return QList<CalendarEvent>(); };
    return [reader = m_reader, chosen = std::move(chosen), from, to] {
        return reader->events(chosen, from, to);
    };
}

void EdsCalendarStore::openApplication()
{
    CalendarApplication::open(m_workspace);
}
