#include "platform/linux/calendar/DeferredCalendarStore.h"

DeferredCalendarStore::DeferredCalendarStore(Make make, QObject* parent)
    : CalendarStore(parent)
    , m_make(std::move(make))
{
}

DeferredCalendarStore::~DeferredCalendarStore() = default;

CalendarStore& DeferredCalendarStore::made()
{
    if (!m_store) {
        m_store = m_make();
        if (!m_store)
            m_store = std::make_unique<NullCalendarStore>();
        connect(m_store.get(), &CalendarStore::changed, this, &CalendarStore::changed);
    }
    return *m_store;
}

CalendarStore::Authorization DeferredCalendarStore::authorization() const
{
    return m_store ? m_store->authorization() : Authorization::notDetermined;
}

void DeferredCalendarStore::requestAccess(std::function<void(bool)> answer)
{
    made().requestAccess(std::move(answer));
}

void DeferredCalendarStore::stopFollowing()
{
    if (m_store)
        m_store->stopFollowing();
}

QList<CalendarInfo> DeferredCalendarStore::calendars() const
{
    return m_store ? m_store->calendars() : QList<CalendarInfo>();
}

CalendarStore::EventsQuery DeferredCalendarStore::eventsQuery(const QDateTime& from, const QDateTime& to,
                                                              const QStringList& calendarIds) const
{
    if (m_store)
        return m_store->eventsQuery(from, to, calendarIds);
    return [] { return QList<CalendarEvent>(); };
}

void DeferredCalendarStore::openApplication()
{
    made().openApplication();
}

void DeferredCalendarStore::openAccessSettings()
{
    made().openAccessSettings();
}

bool DeferredCalendarStore::acceptsSources() const
{
    return m_store && m_store->acceptsSources();
}

std::optional<QString> DeferredCalendarStore::addSource(const QString& fileOrAddress)
{
    return made().addSource(fileOrAddress);
}

bool DeferredCalendarStore::isRemovable(const QString& calendarId) const
{
    return m_store && m_store->isRemovable(calendarId);
}

bool DeferredCalendarStore::removeSource(const QString& calendarId)
{
    return m_store && m_store->removeSource(calendarId);
}
