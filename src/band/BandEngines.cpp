#include "band/BandEngines.h"

#include "band/BandFormat.h"
#include "band/BandSymbols.h"
#include "band/Countdown.h"
#include "band/DateTimeText.h"
#include "band/DayProgress.h"
#include "model/Settings.h"
#include "platform/Clipboard.h"
#include "platform/SystemControls.h"
#include "platform/Trash.h"

#include <cmath>
#include <initializer_list>
#include <utility>

namespace {

// The band's own blue, which a counting focus timer glows in at 75 %.
constexpr quint32 runningTimerFill = 0xBF025BFF;
// The band's blue at 80 % behind a toggle that is on, and the system red at 75 % behind a muted microphone.
constexpr quint32 accentFill = 0xCC025BFF;
constexpr quint32 mutedFill = 0xBFFF3B30;
constexpr quint32 volumeTint = 0xD9FFFFFF;
// An empty Trash is drawn faint, as a full one is drawn solid: the icon font has no outlined can.
constexpr quint32 emptyTrashTint = 0x80FFFFFF;
// Green behind unread messages and indigo behind Do Not Disturb, both at 85 %.
constexpr quint32 unreadFill = 0xD934C759;
constexpr quint32 focusFill = 0xD95E5CE6;

bool showsAny(const QList<BandModule>& visible, std::initializer_list<BandModule> modules)
{
    return std::any_of(modules.begin(), modules.end(),
                       [&](BandModule module) { return visible.contains(module); });
}

QString percent(double fraction)
{
    return QString::number(std::lround(std::clamp(fraction, 0.0, 1.0) * 100)) + u'%';
}

} // namespace

BandEngines::BandEngines(Services services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_fast(m_services.counters)
    , m_slow(m_services.status, m_services.trash, m_services.home)
    , m_clock(m_services.clock)
    , m_pomodoro(m_services.alertSound)
    , m_micMute(m_services.audioInput)
    , m_keepAwake(m_services.sleepInhibitor)
    , m_darkMode(m_services.stateSources, m_services.controls)
    , m_publicIP(m_services.settings)
    , m_weather(m_services.settings, m_services.location, m_locale)
    , m_meeting(m_services.calendars, m_services.settings, m_services.workspace, m_services.clock)
    , m_messages(m_services.unreadMessages)
    , m_focus(m_services.doNotDisturb)
    , m_uptime(m_services.procFolder)
    , m_worldClock(m_services.settings.worldClockTimeZone())
{
    const auto changed = [this] { Q_EMIT this->changed(); };
    connect(&m_fast, &VitalsFastEngine::cpuChanged, this, changed);
    connect(&m_fast, &VitalsFastEngine::memoryChanged, this, changed);
    connect(&m_fast, &VitalsFastEngine::netDownChanged, this, changed);
    connect(&m_fast, &VitalsFastEngine::netUpChanged, this, changed);
    connect(&m_slow, &VitalsSlowEngine::batteryChanged, this, changed);
    connect(&m_slow, &VitalsSlowEngine::wifiChanged, this, changed);
    connect(&m_slow, &VitalsSlowEngine::driveFreeChanged, this, changed);
    connect(&m_slow, &VitalsSlowEngine::trashCountChanged, this, changed);
    connect(&m_slow, &VitalsSlowEngine::localIPChanged, this, changed);
    connect(&m_clock, &BandClock::nowChanged, this, changed);
    connect(&m_pomodoro, &PomodoroEngine::phaseChanged, this, changed);
    connect(&m_pomodoro, &PomodoroEngine::remainingChanged, this, changed);
    connect(&m_micMute, &MicMuteEngine::mutedChanged, this, changed);
    connect(&m_keepAwake, &KeepAwakeEngine::onChanged, this, changed);
    connect(&m_darkMode, &DarkModeEngine::darkChanged, this, changed);
    connect(&m_publicIP, &PublicIPEngine::changed, this, changed);
    connect(&m_weather, &WeatherEngine::changed, this, changed);
    connect(&m_meeting, &MeetingEngine::changed, this, changed);
    connect(&m_messages, &MessagesEngine::unreadChanged, this, changed);
    connect(&m_messages, &MessagesEngine::needsAccessChanged, this, changed);
    connect(&m_focus, &FocusEngine::focusActiveChanged, this, changed);
    connect(&m_focus, &FocusEngine::needsAccessChanged, this, changed);
    connect(&m_focus, &FocusEngine::setupRequested, this, &BandEngines::focusSetupRequested);
    DeckSettings& settings = m_services.settings;
    connect(&settings, &DeckSettings::worldClockTimeZoneChanged, this, [this, changed](const QString& zone) {
        m_worldClock.setZone(zone);
        changed();
    });
    connect(&settings, &DeckSettings::worldClockLabelChanged, this, changed);
    connect(&settings, &DeckSettings::countdownDateChanged, this, changed);
    connect(&settings, &DeckSettings::countdownLabelChanged, this, changed);
}

void BandEngines::show(const QList<BandModule>& visible)
{
    m_shown = visible;
    followClock(visible);
    if (!m_readersHeld)
        startReaders(visible);
}

void BandEngines::holdReaders()
{
    m_readersHeld = true;
}

void BandEngines::releaseReaders()
{
    if (!std::exchange(m_readersHeld, false))
        return;
    startReaders(m_shown);
}

void BandEngines::startReaders(const QList<BandModule>& visible)
{
    using enum BandModule;
    // The microphone and the colour scheme may have changed elsewhere while their module was not on screen.
    if (!visible.contains(micMute))
        m_micMute.stopFollowing();
    else if (!m_visible.contains(micMute))
        m_micMute.refresh();
    if (visible.contains(darkMode) && !m_visible.contains(darkMode))
        m_darkMode.refresh();
    m_visible = visible;
    // Nothing keeps the machine awake from a module that is not on screen.
    if (!visible.contains(keepAwake))
        m_keepAwake.release();
    if (visible.contains(messages))
        m_messages.start();
    else
        m_messages.stop();
    if (visible.contains(focus))
        m_focus.start();
    else
        m_focus.stop();
    if (visible.contains(publicIP))
        m_publicIP.start();
    else
        m_publicIP.stop();
    if (visible.contains(weather))
        m_weather.start();
    else
        m_weather.stop();
    if (visible.contains(nextMeeting))
        m_meeting.start();
    else
        m_meeting.stop();
    if (showsAny(visible, {cpuLoad, memory, network}))
        m_fast.start();
    else
        m_fast.stop();

    const bool countedTrash = m_slow.countsTrash();
    m_slow.setCountsTrash(visible.contains(trash));
    if (showsAny(visible, {battery, driveSpace, trash, localIP, wifi})) {
        // A Trash that just came on screen is counted now rather than at the next sample.
        if (m_slow.isRunning() && m_slow.countsTrash() && !countedTrash)
            m_slow.sample();
        m_slow.start();
    } else {
        m_slow.stop();
    }
}

void BandEngines::followClock(const QList<BandModule>& visible)
{
    using enum BandModule;
    // Only the clock modules need the second's tick.
    if (showsAny(visible, {dateTime, uptime, dayProgress, worldClock, countdown})) {
        // The clock stood still while nothing showed it.
        if (!m_clock.isRunning())
            m_clock.tick();
        m_clock.start();
    } else
        m_clock.stop();
}

void BandEngines::hide()
{
    show({});
}

BandFace BandEngines::readout(const QString& caption, const QString& value,
                              std::optional<QString> symbol) const
{
    BandFace face;
    face.readout = BandReadout(caption, value, std::move(symbol));
    face.line = caption.isEmpty() ? value : caption + u' ' + value;
    return face;
}

BandFace BandEngines::toggle(BandModule module, const QString& symbol, bool on, std::optional<quint32> fill)
{
    BandFace face;
    face.look = BandFace::Look::toggle;
    face.symbol = symbol;
    face.on = on;
    if (on)
        face.fill = fill;
    face.line = rawValue(module) + (on ? QStringLiteral(" on") : QStringLiteral(" off"));
    return face;
}

BandFace BandEngines::meetingFace() const
{
    BandFace face;
    face.look = BandFace::Look::meeting;
    face.symbol = BandSymbols::meeting.of(m_meeting.joinURL().has_value());
    face.on = m_meeting.isHappeningNow();
    if (m_meeting.access() == MeetingEngine::Access::denied) {
        face.readout.caption = QStringLiteral("Calendar access off");
    } else if (const std::optional<QString>& title = m_meeting.title()) {
        face.readout.caption = *title;
        if (const std::optional<QString>& countdown = m_meeting.countdown())
            face.readout.value =
                face.on ? QStringLiteral("Happening now") : QStringLiteral("in ") + *countdown;
    } else {
        face.readout.caption = QStringLiteral("No meetings today");
    }
    face.line = face.readout.value.isEmpty() ? face.readout.caption
                                             : face.readout.caption + u' ' + face.readout.value;
    return face;
}

BandFace BandEngines::face(BandModule module)
{
    const QDateTime now = m_clock.now();
    const DeckSettings& settings = m_services.settings;
    switch (module) {
    case BandModule::micMute: {
        const bool muted = m_micMute.isMuted();
        return toggle(module, BandSymbols::micMute.of(muted), muted, mutedFill);
    }
    case BandModule::volumeDown:
    case BandModule::volumeUp: {
        BandFace face = toggle(module, BandSymbols::volume.of(module == BandModule::volumeUp), false);
        face.readout.tint = volumeTint;
        return face;
    }
    case BandModule::keepAwake: {
        const bool on = m_keepAwake.isOn();
        BandFace face = toggle(module, BandSymbols::keepAwake.of(on), on, accentFill);
        // Desktops honour some inhibitions and not others: which one holds is worth knowing.
        if (const QString holder = m_keepAwake.heldBy(); !holder.isEmpty())
            face.line += QStringLiteral(", held by ") + holder;
        return face;
    }
    case BandModule::darkMode: {
        const bool dark = m_darkMode.isDark();
        return toggle(module, BandSymbols::moon.of(dark), dark, accentFill);
    }
    case BandModule::focus: {
        const bool active = m_focus.focusActive();
        BandFace face = toggle(module, BandSymbols::moon.of(active), active, focusFill);
        face.badge = m_focus.needsAccess();
        return face;
    }
    case BandModule::messages: {
        const bool unread = m_messages.unread() > 0;
        return toggle(module, BandSymbols::messages.of(unread), unread, unreadFill);
    }
    case BandModule::trash: {
        const bool full = m_slow.trashCount() >= 1;
        BandFace face = toggle(module, BandSymbols::trash.of(full), full);
        if (!full)
            face.readout.tint = emptyTrashTint;
        return face;
    }
    case BandModule::dateTime: {
        BandFace face = readout(DateTimeText::date(now, m_locale), DateTimeText::time(now, m_locale));
        face.look = BandFace::Look::dateTime;
        return face;
    }
    case BandModule::nextMeeting:
        return meetingFace();
    case BandModule::cpuLoad:
        return readout(QStringLiteral("CPU"), percent(m_fast.cpu()));
    case BandModule::memory:
        return readout(QStringLiteral("RAM"), percent(m_fast.memory()));
    case BandModule::network: {
        BandFace face = readout(BandFormat::rate(m_fast.netDown()), BandFormat::rate(m_fast.netUp()));
        face.look = BandFace::Look::network;
        face.line = u'↓' + face.readout.caption + QStringLiteral(" ↑") + face.readout.value;
        return face;
    }
    case BandModule::battery:
        if (const std::optional<int> battery = m_slow.batteryPercent())
            return readout(QStringLiteral("BATT"), QString::number(*battery) + u'%',
                           m_slow.batteryCharging() ? std::optional(BandSymbols::power.of(false))
                                                    : std::nullopt);
        return readout(QStringLiteral("POWER"), QStringLiteral("AC"), BandSymbols::power.of(true));
    case BandModule::driveSpace:
        return readout(QStringLiteral("FREE"), BandFormat::bytes(m_slow.driveFree(), m_locale));
    case BandModule::wifi: {
        const bool connected = m_slow.wifiConnected();
        BandFace face = readout({}, connected ? m_slow.wifiSSID().value_or(QStringLiteral("Wi-Fi"))
                                              : QStringLiteral("Off"));
        face.look = BandFace::Look::wifi;
        face.symbol = BandSymbols::wifi.of(connected);
        face.on = connected;
        return face;
    }
    case BandModule::localIP:
        return readout(QStringLiteral("LAN IP"), m_slow.localIP().value_or(QStringLiteral("—")));
    case BandModule::uptime:
        return readout(QStringLiteral("UPTIME"), m_uptime.text());
    case BandModule::dayProgress: {
        BandFace face;
        face.look = BandFace::Look::dayProgress;
        face.fraction = DayProgress::fraction(now);
        face.readout.caption = DayProgress::caption(face.fraction);
        face.line = face.readout.caption;
        return face;
    }
    case BandModule::publicIP:
        return readout(QStringLiteral("PUBLIC IP"), m_publicIP.text());
    case BandModule::worldClock: {
        BandFace face =
            readout(m_worldClock.caption(settings.worldClockLabel()), m_worldClock.time(now, m_locale));
        face.look = BandFace::Look::worldClock;
        return face;
    }
    case BandModule::countdown:
        return readout(Countdown::caption(settings.countdownLabel()),
                       Countdown::value(now, settings.countdownDate()));
    case BandModule::pomodoro: {
        const bool running = m_pomodoro.phase() == PomodoroEngine::Phase::running;
        BandFace face = readout({}, PomodoroEngine::remainingText(m_pomodoro.remaining()));
        face.look = BandFace::Look::pomodoro;
        face.symbol = BandSymbols::pomodoro.of(running);
        face.on = running;
        if (running)
            face.fill = runningTimerFill;
        return face;
    }
    case BandModule::weather:
        return readout({}, m_weather.text(), m_weather.symbolName());
    }
    return {};
}

QString BandEngines::tooltip(BandModule module) const
{
    if (module == BandModule::weather && m_weather.needsLocation())
        return QStringLiteral("Weather. Needs Location access to show conditions.");
    if (module == BandModule::focus && m_focus.needsAccess())
        return QStringLiteral("Do Not Disturb. Needs Full Disk Access to read Focus state.");
    return title(module);
}

bool BandEngines::isClickable(BandModule module) const
{
    switch (module) {
    case BandModule::micMute:
    case BandModule::volumeDown:
    case BandModule::volumeUp:
    case BandModule::keepAwake:
    case BandModule::darkMode:
    case BandModule::trash:
    case BandModule::pomodoro:
    case BandModule::nextMeeting:
    case BandModule::messages:
    case BandModule::focus:
        return true;
    case BandModule::localIP:
        return m_slow.localIP().has_value();
    case BandModule::publicIP:
        return m_publicIP.ip().has_value();
    case BandModule::countdown:
        return !Countdown::isSet(m_services.settings.countdownDate());
    case BandModule::weather:
        return m_weather.needsPlace();
    default:
        return false;
    }
}

void BandEngines::activate(BandModule module)
{
    switch (module) {
    case BandModule::micMute:
        return m_micMute.toggle();
    case BandModule::keepAwake:
        return m_keepAwake.toggle();
    case BandModule::darkMode:
        return m_darkMode.toggle();
    case BandModule::messages:
        return m_messages.openMessages();
    case BandModule::focus:
        return m_focus.toggleDND();
    case BandModule::publicIP:
        if (const std::optional<QString>& address = m_publicIP.ip())
            m_services.clipboard.setText(*address);
        return;
    case BandModule::volumeDown:
        return m_services.controls.volumeDown();
    case BandModule::volumeUp:
        return m_services.controls.volumeUp();
    case BandModule::trash:
        return m_services.trash.open();
    case BandModule::pomodoro:
        return m_pomodoro.toggle();
    case BandModule::nextMeeting:
        return m_meeting.activate();
    case BandModule::localIP:
        if (const std::optional<QString>& address = m_slow.localIP())
            m_services.clipboard.setText(*address);
        return;
    case BandModule::countdown:
        if (!Countdown::isSet(m_services.settings.countdownDate()))
            Q_EMIT customizeRequested();
        return;
    case BandModule::weather:
        // The customise window is where the place is typed in.
        if (m_weather.needsPlace())
            Q_EMIT customizeRequested();
        return;
    default:
        return;
    }
}
