#pragma once

#include "platform/CalendarStore.h"
#include "platform/linux/calendar/eds/EdsCalendar.h"

#include <atomic>
#include <memory>
#include <vector>

class EdsEventReader;
class EdsSources;
class GlibLoopThread;
class Workspace;

// The calendars of Evolution Data Server, the desktop's calendar store that GNOME Calendar, Evolution and
// online accounts feed: every enabled calendar source of its registry, by the source's uid. Nothing is
// asked until access is requested; access is granted once the registry answers on the session bus and
// never denied, since there is no permission to ask for. `stopFollowing` closes every calendar and its view
// and forgets the calendars. Events are read off the main thread and each
// calendar keeps its last events while its backend is gone. `changed` fires when a calendar comes, goes or
// connects and when a watched calendar's events change.
//
// Main thread only, like every calendar store. GLib objects live on a thread of their own.
class EdsCalendarStore final : public CalendarStore {
    Q_OBJECT
public:
    // `workspace` must outlive the store.
    explicit EdsCalendarStore(Workspace& workspace, QObject* parent = nullptr);
    ~EdsCalendarStore() override;

    [[nodiscard]] Authorization authorization() const override;
    void requestAccess(std::function<void(bool)> answer) override;
    void stopFollowing() override;
    [[nodiscard]] QList<CalendarInfo> calendars() const override;
    [[nodiscard]] EventsQuery eventsQuery(const QDateTime& from, const QDateTime& to,
                                          const QStringList& calendarIds) const override;
    void openApplication() override;
    void openAccessSettings() override {}

    [[nodiscard]] bool acceptsSources() const override { return false; }
    [[nodiscard]] std::optional<QString> addSource(const QString&) override { return takesNoSources(); }
    [[nodiscard]] bool isRemovable(const QString&) const override { return false; }
    bool removeSource(const QString&) override { return false; }

    // Whether changes of the calendar are followed, so that `changed` fires when its events change.
    [[nodiscard]] bool isWatching(const QString& calendarId) const;

private:
    void answer(bool answered);
    void update(std::vector<EdsCalendar> calendars);
    void noteChange();

    Workspace& m_workspace;
    std::shared_ptr<GlibLoopThread> m_loop;
    // Used and destroyed on `m_loop`.
    EdsSources* m_sources = nullptr;
    std::shared_ptr<EdsEventReader> m_reader;
    std::shared_ptr<std::atomic_bool> m_changePending = std::make_shared<std::atomic_bool>(false);
    bool m_answered = false;
    bool m_asking = false;
    std::vector<std::function<void(bool)>> m_waiting;
    std::vector<EdsCalendar> m_calendars;
};
