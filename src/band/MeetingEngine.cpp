#include "band/MeetingEngine.h"

#include "band/MeetingRules.h"
#include "core/BackgroundQueue.h"
#include "core/Clock.h"
#include "model/Settings.h"
#include "platform/Workspace.h"

#include <QCollator>
#include <QPointer>
#include <algorithm>
#include <utility>

MeetingEngine::MeetingEngine(CalendarStore& store, DeckSettings& settings, Workspace& workspace,
                             const Clock& clock, QObject* parent)
    : QObject(parent)
    , m_store(store)
    , m_settings(settings)
    , m_workspace(workspace)
    , m_clock(clock)
{
    m_tick.setInterval(tickInterval);
    m_refresh.setInterval(refreshInterval);
    connect(&m_tick, &QTimer::timeout, this, &MeetingEngine::tick);
    connect(&m_refresh, &QTimer::timeout, this, &MeetingEngine::fetch);
}

void MeetingEngine::start()
{
    if (m_tick.isActive())
        return;
    m_tick.start();
    m_refresh.start();
    m_storeChanged = connect(&m_store, &CalendarStore::changed, this, &MeetingEngine::fetch);
    resolveAccess();
}

void MeetingEngine::stop()
{
    if (!isRunning())
        return;
    m_tick.stop();
    m_refresh.stop();
    disconnect(m_storeChanged);
    m_store.stopFollowing();
}

void MeetingEngine::resolveAccess()
{
    switch (m_store.authorization()) {
    case CalendarStore::Authorization::notDetermined:
        m_store.requestAccess([self = QPointer(this)](bool granted) {
            if (self)
                self->grant(granted);
        });
        return;
    case CalendarStore::Authorization::granted:
        return grant(true);
    case CalendarStore::Authorization::denied:
        return grant(false);
    }
}

void MeetingEngine::grant(bool granted)
{
    const Access access = granted ? Access::granted : Access::denied;
    if (access != m_access) {
        m_access = access;
        Q_EMIT changed();
    }
    if (granted)
        fetch();
}

QStringList MeetingEngine::chosenCalendars() const
{
    const QList<CalendarInfo> calendars = m_store.calendars();
    QStringList all;
    QStringList chosen;
    for (const CalendarInfo& calendar : calendars) {
        all.append(calendar.id);
        if (m_settings.meetingCalendars().contains(calendar.id))
            chosen.append(calendar.id);
    }
    return chosen.isEmpty() ? all : chosen;
}

void MeetingEngine::fetch()
{
    if (m_access != Access::granted)
        return;
    if (m_fetching) {
        m_fetchAgain = true;
        return;
    }
    m_fetching = true;
    const QDateTime now = m_clock.now();
    CalendarStore::EventsQuery query = m_store.eventsQuery(now, MeetingRules::dayEnd(now), chosenCalendars());
    BackgroundQueue::runThenReport<std::optional<CalendarEvent>>(
        this, [query = std::move(query), now] { return MeetingRules::nextMeeting(query(), now); },
        [self = QPointer(this)](const std::optional<CalendarEvent>& next) {
            if (self)
                self->apply(next);
        });
}

void MeetingEngine::apply(const std::optional<CalendarEvent>& next)
{
    m_fetching = false;
    m_next = next;
    std::optional<QString> title = next ? std::optional(next->title) : std::nullopt;
    std::optional<QUrl> link = next ? MeetingRules::meetingLink(*next) : std::nullopt;
    const bool changedNow = title != m_title || link != m_joinURL;
    m_title = std::move(title);
    m_joinURL = std::move(link);
    if (changedNow)
        Q_EMIT changed();
    if (std::exchange(m_fetchAgain, false))
        fetch();
    tick();
}

void MeetingEngine::tick()
{
    if (!m_next) {
        if (m_access == Access::granted)
            setCountdown(std::nullopt);
        return;
    }
    const QDateTime now = m_clock.now();
    if (m_next->end <= now) {
        // Asking every second would pile reads up behind a slow store. A read under way that began before
        // the end answers with this meeting again, and the tick after its answer asks anew.
        if (!m_fetching)
            fetch();
        return;
    }
    setCountdown(MeetingRules::countdown(m_next->start, now));
}

void MeetingEngine::setCountdown(const std::optional<QString>& countdown)
{
    if (countdown == m_countdown)
        return;
    m_countdown = countdown;
    Q_EMIT changed();
}

void MeetingEngine::activate()
{
    if (m_joinURL)
        m_workspace.open(*m_joinURL);
    else if (m_access != Access::denied)
        m_store.openApplication();
    else
        m_store.openAccessSettings();
}

QList<CalendarInfo> MeetingEngine::availableCalendars() const
{
    if (m_access != Access::granted)
        return {};
    QList<CalendarInfo> calendars = m_store.calendars();
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(calendars.begin(), calendars.end(), [&](const CalendarInfo& a, const CalendarInfo& b) {
        return collator.compare(a.title, b.title) < 0;
    });
    return calendars;
}

void MeetingEngine::chooseAllCalendars()
{
    m_settings.setMeetingCalendars({});
    fetch();
}

void MeetingEngine::toggleCalendar(const QString& id)
{
    QStringList chosen = m_settings.meetingCalendars();
    if (!chosen.removeAll(id))
        chosen.append(id);
    m_settings.setMeetingCalendars(chosen);
    fetch();
}
