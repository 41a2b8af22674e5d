#pragma once

#include "platform/CalendarStore.h"

#include <functional>
#include <memory>

// A calendar store made the first time calendars are asked for, so that what it needs (a library, a
// connection) costs nothing to a deck whose band never shows them. Until then it has no calendars and access
// is not determined; a store that cannot be made is a desktop without calendars, whose access is granted to
// nothing. Its own answers for sources stand for the made store's until there is one.
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

    // Whether the store was asked for and made.
    [[nodiscard]] bool isMade() const { return m_store != nullptr; }

private:
    // The store, made on the first call; null when it cannot be made.
    CalendarStore* made();

    Make m_make;
    std::unique_ptr<CalendarStore> m_store;
};
