#pragma once

#include "platform/CalendarStore.h"

#include <memory>
#include <vector>

// Several calendar stores shown as one: the calendars and events of all of them, a change of any. Access
// is granted once every store has granted it and denied once every store has denied it; a request is
// answered yes as soon as one store says yes. Calendars the user adds go to the first store that takes
// them; the calendar application is the first store's.
//
// Main thread only, like every calendar store.
class CombinedCalendarStore final : public CalendarStore {
    Q_OBJECT
public:
    explicit CombinedCalendarStore(std::vector<std::unique_ptr<CalendarStore>> stores,
                                   QObject* parent = nullptr);
    ~CombinedCalendarStore() override;

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
    std::vector<std::unique_ptr<CalendarStore>> m_stores;
};
