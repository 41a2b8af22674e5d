#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// One event as a calendar store hands it out: one instance of a recurring event, already expanded.
struct CalendarEvent {
    QString calendarId;
    QString title;
    QDateTime start;
    QDateTime end;
    bool allDay = false;
    bool cancelled = false;
    bool hasAttendees = false;
    QString url;
    QString location;
    QString notes;

    bool operator==(const CalendarEvent&) const = default;
};

struct CalendarInfo {
    // Stable across runs: what the `meetingCalendars` preference names.
    QString id;
    QString title;

    bool operator==(const CalendarInfo&) const = default;
};

// The user's calendars and their events, as the desktop keeps them.
//
// Main thread only, except the job `eventsQuery` returns, which runs on any thread and touches nothing of
// the store's own. `changed` fires on the main thread when calendars or events may have changed, including
// when a source first finishes loading.
class CalendarStore : public QObject {
    Q_OBJECT
public:
    enum class Authorization { notDetermined, granted, denied };
    using EventsQuery = std::function<QList<CalendarEvent>()>;

    using QObject::QObject;

    [[nodiscard]] virtual Authorization authorization() const = 0;
    // Asks the user or the desktop for access; `answer` runs once, on the main thread, with whether it is
    // granted. From then on the store follows its calendars, which takes timers, connections and watches.
    virtual void requestAccess(std::function<void(bool granted)> answer) = 0;
    // Stops following the calendars: `authorization` reads not determined again unless access was refused,
    // and the next `requestAccess` follows and reads them anew. What was read may be kept.
    virtual void stopFollowing() = 0;
    [[nodiscard]] virtual QList<CalendarInfo> calendars() const = 0;
    // A job that answers the events of `calendarIds` overlapping `from` … `to`, in the store's order. Made on
    // the main thread, run off it.
    [[nodiscard]] virtual EventsQuery eventsQuery(const QDateTime& from, const QDateTime& to,
                                                  const QStringList& calendarIds) const = 0;
    // Opens the desktop's calendar application, when it has one; returns at once.
    virtual void openApplication() = 0;
    // Opens the place where calendar access is granted, when the desktop has one.
    virtual void openAccessSettings() = 0;

    // Whether the user may add calendars of their own (a file or a web address) to this store.
    [[nodiscard]] virtual bool acceptsSources() const = 0;
    // Adds one. Answers nothing when it was added; otherwise why not, in a sentence the user is shown.
    [[nodiscard]] virtual std::optional<QString> addSource(const QString& fileOrAddress) = 0;
    // Whether the calendar is one the user added, which they may remove again.
    [[nodiscard]] virtual bool isRemovable(const QString& calendarId) const = 0;
    virtual bool removeSource(const QString& calendarId) = 0;

Q_SIGNALS:
    void changed();

protected:
    // Why a store that takes no calendars of the user's own refuses one.
    [[nodiscard]] static QString takesNoSources()
    {
        return QStringLiteral("Calendars can't be added here: they come from the desktop's calendar.");
    }
};

// A desktop without calendars: access is granted to nothing.
class NullCalendarStore final : public CalendarStore {
    Q_OBJECT
public:
    using CalendarStore::CalendarStore;

    [[nodiscard]] Authorization authorization() const override { return Authorization::granted; }
    void requestAccess(std::function<void(bool)> answer) override { answer(true); }
    void stopFollowing() override {}
    [[nodiscard]] QList<CalendarInfo> calendars() const override { return {}; }
    [[nodiscard]] EventsQuery eventsQuery(const QDateTime&, const QDateTime&,
                                          const QStringList&) const override
    {
        return [] { return QList<CalendarEvent>(); };
    }
    void openApplication() override {}
    void openAccessSettings() override {}
    [[nodiscard]] bool acceptsSources() const override { return false; }
    [[nodiscard]] std::optional<QString> addSource(const QString&) override { return takesNoSources(); }
    [[nodiscard]] bool isRemovable(const QString&) const override { return false; }
    bool removeSource(const QString&) override { return false; }
};
