#pragma once

#include "band/BandClock.h"
#include "band/BandFace.h"
#include "band/DarkModeEngine.h"
#include "band/FocusEngine.h"
#include "band/KeepAwakeEngine.h"
#include "band/MeetingEngine.h"
#include "band/MessagesEngine.h"
#include "band/MicMuteEngine.h"
#include "band/PomodoroEngine.h"
#include "band/PublicIPEngine.h"
#include "band/SystemUptime.h"
#include "band/VitalsFastEngine.h"
#include "band/VitalsSlowEngine.h"
#include "band/WeatherEngine.h"
#include "band/WorldClock.h"
#include "model/BandModule.h"

#include <QList>
#include <QLocale>
#include <QObject>

class AlertSound;
class AudioInput;
class Clipboard;
class Clock;
class DeckSettings;
class Location;
class SleepInhibitor;
class SystemControls;
class SystemStatus;
class TileStateSources;
class Trash;
class VitalsCounters;
class Workspace;

// The engines behind the band's modules, what each module shows and what a click on one does. The band tells
// it which modules are on screen (`show`), and only the engines those modules need run; with the band gone
// (`hide`) nothing samples and the machine is no longer kept awake. The focus timer keeps counting either
// way.
//
// Main thread only. `changed` fires when an engine publishes something a module may show;
// `customizeRequested` when a click asks for the customise window; `focusSetupRequested` when a click on Do
// Not Disturb finds it cannot switch yet.
class BandEngines final : public QObject {
    Q_OBJECT
public:
    struct Services {
        const Clock& clock;
        DeckSettings& settings;
        VitalsCounters& counters;
        SystemStatus& status;
        Trash& trash;
        AlertSound& alertSound;
        SystemControls& controls;
        Clipboard& clipboard;
        AudioInput& audioInput;
        SleepInhibitor& sleepInhibitor;
        // The desktop's colour scheme, shared with the tiles' lights.
        TileStateSources& stateSources;
        Location& location;
        // Where a meeting's call is opened.
        Workspace& workspace;
        CalendarStore& calendars;
        UnreadMessages& unreadMessages;
        DoNotDisturb& doNotDisturb;
        // The folder whose file system's free space the band shows.
        QString home;
        QString procFolder = QStringLiteral("/proc");
    };

    explicit BandEngines(Services services, QObject* parent = nullptr);

    // The modules on screen now; called again whenever they change.
    void show(const QList<BandModule>& visible);
    // The band is no longer on screen.
    void hide();
    // Until released, only the clock follows the modules on screen; what reads the system, the sound server,
    // the bus or the network waits, and its module shows its waiting face. The deck holds them until its
    // first paint, which then waits for none of them.
    void holdReaders();
    void releaseReaders();

    [[nodiscard]] BandFace face(BandModule module);
    // What the pointer over the module reads.
    [[nodiscard]] QString tooltip(BandModule module) const;
    // Whether a left click on the module does something now.
    [[nodiscard]] bool isClickable(BandModule module) const;
    void activate(BandModule module);

    [[nodiscard]] VitalsFastEngine& fast() { return m_fast; }
    [[nodiscard]] VitalsSlowEngine& slow() { return m_slow; }
    [[nodiscard]] BandClock& clock() { return m_clock; }
    [[nodiscard]] PomodoroEngine& pomodoro() { return m_pomodoro; }
    [[nodiscard]] WeatherEngine& weather() { return m_weather; }
    [[nodiscard]] MeetingEngine& meeting() { return m_meeting; }
    [[nodiscard]] CalendarStore& calendars() { return m_services.calendars; }
    [[nodiscard]] MessagesEngine& messages() { return m_messages; }
    [[nodiscard]] FocusEngine& focus() { return m_focus; }
    [[nodiscard]] Trash& trash() { return m_services.trash; }

Q_SIGNALS:
    void changed();
    void customizeRequested();
    void focusSetupRequested();

private:
    [[nodiscard]] BandFace readout(const QString& caption, const QString& value,
                                   std::optional<QString> symbol = std::nullopt) const;
    [[nodiscard]] BandFace meetingFace() const;
    [[nodiscard]] static BandFace toggle(BandModule module, const QString& symbol, bool on,
                                         std::optional<quint32> fill = std::nullopt);

    Services m_services;
    QLocale m_locale;
    VitalsFastEngine m_fast;
    VitalsSlowEngine m_slow;
    BandClock m_clock;
    PomodoroEngine m_pomodoro;
    MicMuteEngine m_micMute;
    KeepAwakeEngine m_keepAwake;
    DarkModeEngine m_darkMode;
    PublicIPEngine m_publicIP;
    WeatherEngine m_weather;
    MeetingEngine m_meeting;
    MessagesEngine m_messages;
    FocusEngine m_focus;
    SystemUptime m_uptime;
    WorldClock m_worldClock;
    void startReaders(const QList<BandModule>& visible);
    void followClock(const QList<BandModule>& visible);

    // The modules on screen, and those the readers last started for.
    QList<BandModule> m_shown;
    QList<BandModule> m_visible;
    bool m_readersHeld = false;
};
