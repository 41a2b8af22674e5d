#pragma once

#include "platform/CalendarStore.h"

#include <functional>
#include <memory>

// A calendar store made the first time calendars are asked for, so that what it needs (a library, a
// connection) costs nothing to a deck whose band never shows them. Until then it has no calendars and access
// is not determined; a store that cannot be made is a `NullCalendarStore`, a desktop without calendars.
//
// Main thread only, like every calendar store.
class DeferredCalendarStore final : public CalendarStore {
    Q_OBJECT
public:
    using Make = std::function<std::unique_ptr<CalendarStore>()>;

    explicit DeferredCalendarStore(Make make, QObject* parent = nullptr);
    ~DeferredCalendarStore() override;

    [[nodiscard]] Authorization authorization() const override;
    void requestAccess(std::function<void(bool)> answer) override;
    void stopFollowing() override;
    [[nodiscard]] QList<CalendarInfo> calendars() const override;
    [[nodiscard]] EventsQuery eventsQuery(const QDateTime& from, const QDateTime& to,
                                          const QStringList& calendarIds) const override;
    void openApplication() override;
    void openAccessSettings() override;

    [[nodiscard]] bool acceptsSources() const override;
    [[nodiscard]] std::optional<QString> addSource(const QString& fileOrAddress) override;
    [[nodiscard]] bool isRemovable(const QString& calendarId) const override;
    bool removeSource(const QString& calendarId) override;

private:
    // The store, made on the first call.
    CalendarStore& made();

    Make m_make;
    std::unique_ptr<CalendarStore> m_store;
};
