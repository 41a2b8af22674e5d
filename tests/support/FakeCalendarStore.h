#pragma once

#include "platform/CalendarStore.h"

// A calendar store with the events a test gives it, two calendars ("work", "home") and access granted.
class FakeCalendarStore final : public CalendarStore {
public:
    [[nodiscard]] Authorization authorization() const override { return status; }
    void requestAccess(std::function<void(bool)> answer) override { pending = std::move(answer); }
    [[nodiscard]] QList<CalendarInfo> calendars() const override { return list; }
    [[nodiscard]] EventsQuery eventsQuery(const QDateTime&, const QDateTime&,
                                          const QStringList& ids) const override
    {
        asked = ids;
        return [events = events, ids] {
            QList<CalendarEvent> in;
            for (const CalendarEvent& event : events)
                if (ids.contains(event.calendarId))
                    in.append(event);
            return in;
        };
    }
    void openApplication() override { ++applicationOpened; }
    void openAccessSettings() override { ++settingsOpened; }
    [[nodiscard]] bool acceptsSources() const override { return false; }
    bool addSource(const QString&) override { return false; }
    [[nodiscard]] bool isRemovable(const QString&) const override { return false; }
    bool removeSource(const QString&) override { return false; }

    Authorization status = Authorization::granted;
    std::function<void(bool)> pending;
    QList<CalendarInfo> list{{QStringLiteral("work"), QStringLiteral("work")},
                             {QStringLiteral("home"), QStringLiteral("Home")}};
    QList<CalendarEvent> events;
    mutable QStringList asked;
    int applicationOpened = 0;
    int settingsOpened = 0;
};
