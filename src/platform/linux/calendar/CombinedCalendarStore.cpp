#include "platform/linux/calendar/CombinedCalendarStore.h"

#include <memory>

CombinedCalendarStore::CombinedCalendarStore(std::vector<std::unique_ptr<CalendarStore>> stores,
                                             QObject* parent)
    : CalendarStore(parent)
    , m_stores(std::move(stores))
{
    for (const auto& store : m_stores)
        connect(store.get(), &CalendarStore::changed, this, &CalendarStore::changed);
}

CombinedCalendarStore::~CombinedCalendarStore() = default;

CalendarStore::Authorization CombinedCalendarStore::authorization() const
{
    const auto all = [this](Authorization wanted) {
        return std::all_of(m_stores.begin(), m_stores.end(),
                           [wanted](const auto& store) { return store->authorization() == wanted; });
    };
    if (all(Authorization::granted))
        return Authorization::granted;
    if (all(Authorization::denied))
        return Authorization::denied;
    return Authorization::notDetermined;
}

void CombinedCalendarStore::requestAccess(std::function<void(bool)> answer)
{
    struct Asking {
        std::function<void(bool)> answer;
        size_t refused = 0;
        size_t count = 0;
    };
    auto asking = std::make_shared<Asking>(Asking{std::move(answer), 0, m_stores.size()});
    const auto reply = [asking](bool granted) {
        if (!asking->answer)
            return;
        if (granted || ++asking->refused == asking->count)
            std::exchange(asking->answer, {})(granted);
    };
    if (m_stores.empty())
        reply(true);
    for (const auto& store : m_stores) {
        if (store->authorization() == Authorization::granted)
            reply(true);
        else
            store->requestAccess(reply);
    }
}

void CombinedCalendarStore::stopFollowing()
{
    for (const auto& store : m_stores)
        store->stopFollowing();
}

QList<CalendarInfo> CombinedCalendarStore::calendars() const
{
    QList<CalendarInfo> calendars;
    for (const auto& store : m_stores)
        calendars.append(store->calendars());
    return calendars;
}

CalendarStore::EventsQuery CombinedCalendarStore::eventsQuery(const QDateTime& from, const QDateTime& to,
                                                              const QStringList& calendarIds) const
{
    std::vector<EventsQuery> queries;
    for (const auto& store : m_stores)
        queries.push_back(store->eventsQuery(from, to, calendarIds));
    return [queries = std::move(queries)] {
        QList<CalendarEvent> events;
        for (const EventsQuery& query : queries)
            events.append(query());
        return events;
    };
}

void CombinedCalendarStore::openApplication()
{
    if (!m_stores.empty())
        m_stores.front()->openApplication();
}

void CombinedCalendarStore::openAccessSettings()
{
    for (const auto& store : m_stores)
        store->openAccessSettings();
}

bool CombinedCalendarStore::acceptsSources() const
{
    return std::any_of(m_stores.begin(), m_stores.end(),
                       [](const auto& store) { return store->acceptsSources(); });
}

std::optional<QString> CombinedCalendarStore::addSource(const QString& fileOrAddress)
{
    for (const auto& store : m_stores)
        if (store->acceptsSources())
            return store->addSource(fileOrAddress);
    return takesNoSources();
}

bool CombinedCalendarStore::isRemovable(const QString& calendarId) const
{
    return std::any_of(m_stores.begin(), m_stores.end(),
                       [&](const auto& store) { return store->isRemovable(calendarId); });
}

bool CombinedCalendarStore::removeSource(const QString& calendarId)
{
    for (const auto& store : m_stores)
        if (store->isRemovable(calendarId))
            return store->removeSource(calendarId);
    return false;
}
