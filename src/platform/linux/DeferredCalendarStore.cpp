#include "platform/linux/DeferredCalendarStore.h"

DeferredCalendarStore::DeferredCalendarStore(Make make, QObject* parent)
    : CalendarStore(parent)
    , m_make(std::move(make))
{
}

DeferredCalendarStore::~DeferredCalendarStore() = default;

CalendarStore* DeferredCalendarStore::made()
{
    if (m_make) {
        m_store = std::exchange(m_make, {})();
        if (m_store)
            connect(m_store.get(), &CalendarStore::changed, this, &CalendarStore::changed);
    }
    return m_store.get();
}

CalendarStore::Authorization DeferredCalendarStore::authorization() const
{
    if (m_store)
        return m_store->authorization();
    return m_make ? Authorization::notDetermined : Authorization::granted;
}

void DeferredCalendarStore::requestAccess(std::function<void(bool)> answer)
{
    if (CalendarStore* store = made())
        store->requestAccess(std::move(answer));
    else
        answer(true);
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
    if (CalendarStore* store = made())
        store->openApplication();
}

void DeferredCalendarStore::openAccessSettings()
{
    if (CalendarStore* store = made())
        store->openAccessSettings();
}

bool DeferredCalendarStore::acceptsSources() const
{
    return m_store && m_store->acceptsSources();
}

std::optional<QString> DeferredCalendarStore::addSource(const QString& fileOrAddress)
{
    if (CalendarStore* store = made())
        return store->addSource(fileOrAddress);
    return takesNoSources();
}

bool DeferredCalendarStore::isRemovable(const QString& calendarId) const
{
    return m_store && m_store->isRemovable(calendarId);
}

bool DeferredCalendarStore::removeSource(const QString& calendarId)
{
    return m_store && m_store->removeSource(calendarId);
}
