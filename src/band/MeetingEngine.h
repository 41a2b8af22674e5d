#pragma once

#include "platform/CalendarStore.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <optional>

class Clock;
class DeckSettings;
class Workspace;

// The user's next meeting of the rest of today, its countdown and its video-call link, from the calendars
// the `meetingCalendars` preference names (all when it names none that exist). While started the countdown
// ticks every second and the events are read again every five minutes, on every change of the store and
// whenever the meeting shown has ended. Access is asked for once per start.
//
// Main thread only; the store is read on the background queue. `changed` fires when the access, the title,
// the countdown or the link changes.
class MeetingEngine final : public QObject {
    Q_OBJECT
public:
    enum class Access { unknown, granted, denied };

    static constexpr std::chrono::seconds tickInterval{1};
    static constexpr std::chrono::seconds refreshInterval{300};

    // Everything passed in must outlive the engine.
    MeetingEngine(CalendarStore& store, DeckSettings& settings, Workspace& workspace, const Clock& clock,
                  QObject* parent = nullptr);

    // Does nothing while already started.
    void start();
    // Stops the timers, and the store's following of the calendars; what is shown stays.
    void stop();
    [[nodiscard]] bool isRunning() const { return m_tick.isActive(); }
    // Reads the events again, unless access is not granted. While a read is under way, another one follows
    // it instead, so a slow store is never asked twice at once.
    void fetch();
    // What the one-second timer does: updates the countdown, or fetches when the meeting shown has ended.
    void tick();
    // The module's click: joins the call, else opens the calendar application, else the access settings.
    void activate();

    [[nodiscard]] Access access() const { return m_access; }
    [[nodiscard]] const std::optional<QString>& title() const { return m_title; }
    [[nodiscard]] const std::optional<QString>& countdown() const { return m_countdown; }
    [[nodiscard]] const std::optional<QUrl>& joinURL() const { return m_joinURL; }
    [[nodiscard]] bool isHappeningNow() const { return m_countdown == QStringLiteral("Now"); }
    // The calendars to choose from, by title, or none while access is not granted.
    [[nodiscard]] QList<CalendarInfo> availableCalendars() const;

    // The calendar chooser: every calendar again, or one calendar in or out of the choice; either fetches.
    void chooseAllCalendars();
    void toggleCalendar(const QString& id);

Q_SIGNALS:
    void changed();

private:
    void resolveAccess();
    void grant(bool granted);
    void apply(const std::optional<CalendarEvent>& next);
    void setCountdown(const std::optional<QString>& countdown);
    [[nodiscard]] QStringList chosenCalendars() const;

    CalendarStore& m_store;
    DeckSettings& m_settings;
    Workspace& m_workspace;
    const Clock& m_clock;
    QTimer m_tick;
    QTimer m_refresh;
    QMetaObject::Connection m_storeChanged;
    Access m_access = Access::unknown;
    std::optional<CalendarEvent> m_next;
    std::optional<QString> m_title;
    std::optional<QString> m_countdown;
    std::optional<QUrl> m_joinURL;
    bool m_fetching = false;
    // Something changed while a read was under way: its answer may already be out of date.
    bool m_fetchAgain = false;
};
