#pragma once

#include "platform/CalendarStore.h"

// A calendar store whose answers the test sets; access requests wait in `pending` until the test answers.
class FakeCalendarStore final : public CalendarStore {
public:
    [[nodiscard]] Authorization authorization() const override { return status; }
    void requestAccess(std::function<void(bool)> answer) override
    {
        following = true;
        pending = std::move(answer);
    }
    void stopFollowing() override
    {
        following = false;
        if (status == Authorization::granted)
            status = Authorization::notDetermined;
    }
    [[nodiscard]] QList<CalendarInfo> calendars() const override { return list; }
    [[nodiscard]] EventsQuery eventsQuery(const QDateTime&, const QDateTime&,
                                          const QStringList& ids) const override
    {
        asked = ids;
        ++queries;
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
    [[nodiscard]] bool acceptsSources() const override { return takesSources; }
    [[nodiscard]] std::optional<QString> addSource(const QString& source) override
    {
        if (!takesSources)
            return QStringLiteral("refused");
        sources.append(source);
        return std::nullopt;
    }
    [[nodiscard]] bool isRemovable(const QString& id) const override { return sources.contains(id); }
    bool removeSource(const QString& id) override { return sources.removeAll(id) > 0; }

    Authorization status = Authorization::granted;
    std::function<void(bool)> pending;
    // A store that has granted access follows its calendars.
    bool following = true;
    QList<CalendarInfo> list{{QStringLiteral("work"), QStringLiteral("work")},
                             {QStringLiteral("home"), QStringLiteral("Home")}};
    QList<CalendarEvent> events;
    mutable QStringList asked;
    mutable int queries = 0;
    int applicationOpened = 0;
    int settingsOpened = 0;
    bool takesSources = false;
    QStringList sources;
};
