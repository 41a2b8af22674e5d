#include "band/BandEngines.h"

#include "band/FocusEngine.h"
#include "band/MessagesEngine.h"
#include "band/PomodoroEngine.h"
#include "core/BackgroundQueue.h"
#include "core/Preferences.h"
#include "model/Settings.h"
#include "platform/Location.h"
#include "platform/macos/FocusAssertions.h"
#include "platform/macos/MessagesDatabase.h"
#include "support/FakeAlertSound.h"
#include "support/FakeCalendarStore.h"
#include "support/FakeClock.h"
#include "support/FakeDevices.h"
#include "support/FakeProcessRunner.h"
#include "support/FakeTileStateSources.h"
#include "support/FakeWorkspace.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using enum BandModule;

class FixedCounters final : public VitalsCounters {
public:
    std::optional<CpuTicks> cpuTicks() override
    {
        m_ticks.busy += 25;
        m_ticks.total += 100;
        return m_ticks;
    }
    std::optional<double> memoryInUse() override { return 0.41; }
    std::optional<NetworkBytes> networkBytes() override
    {
        m_bytes.interfaces.front().received += 1'500'000;
        m_bytes.interfaces.front().sent += 2'000;
        m_bytes.uptime += 1;
        return m_bytes;
    }

private:
    CpuTicks m_ticks;
    NetworkBytes m_bytes{{{"eth0", 0, 0}}, 0};
};

class BandEnginesTest : public TempHome {
protected:
    // The slow engine counts the disk on the background queue.
    ~BandEnginesTest() override { BackgroundQueue::waitForDone(); }

    void SetUp() override
    {
        QFile uptime(QDir(m_paths.home).filePath(QStringLiteral("uptime")));
        ASSERT_TRUE(uptime.open(QIODevice::WriteOnly));
        uptime.write("11220.52 40000.00\n");
    }

    FakeClock m_clock{QDateTime(QDate(2026, 3, 5), QTime(12, 0))};
    Preferences m_preferences{m_paths.preferencesFile()};
    DeckSettings m_settings{m_preferences};
    FixedCounters m_counters;
    NullSystemStatus m_status;
    NullTrash m_trash;
    FakeAlertSound m_sound;
    FakeSystemControls m_controls;
    FakeClipboard m_clipboard;
    FakeAudioInput m_audioInput;
    FakeSleepInhibitor m_sleepInhibitor;
    FakeTileStateSources m_stateSources;
    NullLocation m_location;
    FakeWorkspace m_workspace;
    FakeCalendarStore m_calendars;
    FakeProcessRunner m_processes;
    // The Mac's files, which this home lacks: both need Full Disk Access.
    MessagesDatabase m_unread{m_paths.home, m_workspace};
    FocusAssertions m_doNotDisturb{m_paths.home, m_processes, m_workspace};
    BandEngines m_band{{m_clock, m_settings, m_counters, m_status, m_trash, m_sound, m_controls, m_clipboard,
                        m_audioInput, m_sleepInhibitor, m_stateSources, m_location, m_workspace, m_calendars,
                        m_unread, m_doNotDisturb, m_paths.home, m_paths.home}};

    PomodoroEngine& pomodoroTimer() { return m_band.engine<PomodoroEngine>(pomodoro); }
};

TEST_F(BandEnginesTest, OnlyTheEnginesOfTheModulesOnScreenRun)
{
    const struct {
        QList<BandModule> visible;
        bool fast, slow, clock;
    } cases[] = {
        {{micMute, volumeDown, volumeUp, focus}, false, false, false},
        {{memory}, true, false, false},
        {{network, trash}, true, true, false},
        {{wifi, countdown}, false, true, true},
        {{dayProgress, pomodoro}, false, false, true},
    };
    for (const auto& c : cases) {
        m_band.show(c.visible);
        EXPECT_EQ(m_band.fast().isRunning(), c.fast) << c.visible.size();
        EXPECT_EQ(m_band.slow().isRunning(), c.slow) << c.visible.size();
        EXPECT_EQ(m_band.slow().countsTrash(), c.visible.contains(trash));
        EXPECT_EQ(m_band.clock().isRunning(), c.clock) << c.visible.size();
    }
    pomodoroTimer().run();
    m_band.hide();
    EXPECT_FALSE(m_band.fast().isRunning() || m_band.slow().isRunning() || m_band.clock().isRunning());
    EXPECT_EQ(pomodoroTimer().phase(), PomodoroEngine::Phase::running) << "the focus timer counts on";
}

TEST_F(BandEnginesTest, HeldReadersWaitForTheReleaseWhileTheClockKeepsTime)
{
    m_audioInput.input = AudioInput::Input{QStringLiteral("mic"), true, 0.5F};
    m_band.holdReaders();
    m_band.show({dateTime, memory});
    m_band.show({dateTime, memory, micMute});
    BackgroundQueue::waitForDone();
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_band.clock().isRunning());
    EXPECT_FALSE(m_band.fast().isRunning());
    EXPECT_EQ(m_audioInput.reads, 0);

    m_band.releaseReaders();
    BackgroundQueue::waitForDone();
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_band.fast().isRunning());
    EXPECT_EQ(m_band.face(micMute).line, QStringLiteral("micMute on"));
}

TEST_F(BandEnginesTest, TheMicrophoneIsReadOnTheServersChangesOnlyWhileItsModuleIsOnTheBand)
{
    const auto settle = [] {
        BackgroundQueue::waitForDone();
        QCoreApplication::processEvents();
    };
    m_audioInput.input = AudioInput::Input{QStringLiteral("mic"), true, 0.5F};
    m_band.show({micMute});
    settle();
    EXPECT_EQ(m_band.face(micMute).line, QStringLiteral("micMute on"));

    m_band.show({memory});
    const int reads = m_audioInput.reads;
    m_audioInput.input->muted = false;
    Q_EMIT m_audioInput.changed();
    settle();
    EXPECT_EQ(m_audioInput.reads, reads);

    m_band.show({memory, micMute});
    settle();
    EXPECT_EQ(m_band.face(micMute).line, QStringLiteral("micMute off"));
    m_audioInput.input->muted = true;
    Q_EMIT m_audioInput.changed();
    settle();
    EXPECT_EQ(m_band.face(micMute).line, QStringLiteral("micMute on"));
}

TEST_F(BandEnginesTest, EachModuleSaysWhatItShowsInOneLine)
{
    m_clock.set(QDateTime(QDate(2026, 3, 5), QTime(6, 0)));
    m_band.show({cpuLoad, memory, network, uptime, dayProgress});
    m_clock.set(QDateTime(QDate(2026, 3, 5), QTime(12, 0)));
    m_band.fast().sample();
    m_band.clock().tick();
    m_settings.setCountdownLabel(QStringLiteral("Trip"));
    m_settings.setCountdownDate(QDateTime(QDate(2026, 3, 8), QTime(9, 0)).toSecsSinceEpoch());
    const std::pair<BandModule, const char*> lines[] = {
        {cpuLoad, "CPU 25%"},     {memory, "RAM 41%"},    {network, "↓1.5M ↑2K"},   {uptime, "UPTIME 3h 7m"},
        {dayProgress, "DAY 50%"}, {countdown, "TRIP 3d"}, {micMute, "micMute off"}, {battery, "POWER AC"},
    };
    for (const auto& [module, line] : lines)
        EXPECT_EQ(m_band.face(module).line, QString::fromUtf8(line)) << rawValue(module).toStdString();
    EXPECT_DOUBLE_EQ(m_band.face(dayProgress).fraction, 0.5);
}

TEST_F(BandEnginesTest, AClickDoesWhatItsModuleSays)
{
    QSignalSpy customize(&m_band, &BandEngines::customizeRequested);
    for (const BandModule module : {volumeDown, volumeUp, pomodoro, countdown})
        m_band.activate(module);
    EXPECT_EQ(m_controls.log, (QStringList{QStringLiteral("volumeDown"), QStringLiteral("volumeUp")}));
    EXPECT_TRUE(m_band.face(pomodoro).fill) << "a counting timer glows";
    EXPECT_EQ(customize.count(), 1) << "a countdown without a date opens the customise window";

    m_band.show({keepAwake, darkMode});
    m_band.activate(keepAwake);
    m_sleepInhibitor.answerAll();
    EXPECT_TRUE(m_sleepInhibitor.held);
    EXPECT_EQ(m_band.face(keepAwake).line, QStringLiteral("keepAwake on, held by the test"));
    m_band.show({darkMode});
    EXPECT_FALSE(m_sleepInhibitor.held) << "a module taken off the band keeps nothing awake";
    EXPECT_EQ(m_band.face(keepAwake).line, QStringLiteral("keepAwake off"));
    m_band.activate(darkMode);
    EXPECT_EQ(m_controls.log.last(), QStringLiteral("toggleDarkMode"));

    m_settings.setCountdownDate(1e9);
    EXPECT_FALSE(m_band.isClickable(countdown));
    EXPECT_FALSE(m_band.isClickable(localIP)) << "no address to copy";
    m_band.activate(localIP);
    EXPECT_TRUE(m_clipboard.copied.isEmpty());
}

TEST_F(BandEnginesTest, TheNextMeetingShowsItsCountdownAndAClickJoinsItsCall)
{
    CalendarEvent standup;
    standup.calendarId = QStringLiteral("work");
    standup.title = QStringLiteral("Standup");
    standup.start = m_clock.now().addSecs(300);
    standup.end = standup.start.addSecs(900);
    standup.hasAttendees = true;
    standup.notes = QStringLiteral("Join: https://meet.google.com/abc-defg-hij\nAgenda");
    m_calendars.events = {standup};
    m_band.show({nextMeeting});
    BackgroundQueue::waitForDone();
    QCoreApplication::processEvents();
    const BandFace face = m_band.face(nextMeeting);
    EXPECT_EQ(face.line, QStringLiteral("Standup in 5:00"));
    EXPECT_EQ(face.symbol, QStringLiteral("video.fill"));
    m_band.activate(nextMeeting);
    ASSERT_EQ(m_workspace.opened.size(), 1u);
    EXPECT_EQ(m_workspace.opened[0], QUrl(QStringLiteral("https://meet.google.com/abc-defg-hij")));
}

TEST_F(BandEnginesTest, AModulesMenuOffersWhatItCanDoNow)
{
    const auto texts = [](const QList<BandMenuItem>& items) {
        QStringList all;
        for (const BandMenuItem& item : items)
            all.append(item.text + (item.checked.value_or(false) ? QStringLiteral(" ✓") : QString()));
        return all;
    };
    FakeAlertPresenter alerts;
    QString asked;
    const BandMenuHost host{alerts,
                            [&asked](const QString& title, const QString&) {
                                asked = title;
                                return QStringLiteral("https://calendars.test/team.ics");
                            },
                            [] {}};

    const QList<BandMenuItem> timer = m_band.menu(pomodoro, host);
    ASSERT_EQ(texts(timer), (QStringList{QStringLiteral("Reset"), QStringLiteral("Length"), QString()}));
    EXPECT_EQ(texts(timer[1].submenu), (QStringList{QStringLiteral("5 min"), QStringLiteral("15 min"),
                                                    QStringLiteral("25 min ✓"), QStringLiteral("50 min")}));
    timer[1].submenu[0].run();
    EXPECT_EQ(pomodoroTimer().duration(), 5 * 60);

    m_calendars.takesSources = true;
    m_calendars.sources = {QStringLiteral("work")};
    m_band.show({nextMeeting});
    BackgroundQueue::waitForDone();
    QCoreApplication::processEvents();
    const QList<BandMenuItem> meeting = m_band.menu(nextMeeting, host);
    ASSERT_EQ(texts(meeting),
              (QStringList{QStringLiteral("All Calendars ✓"), QString(), QStringLiteral("Home"),
                           QStringLiteral("work"), QString(), QStringLiteral("Add Calendar…"),
                           QStringLiteral("Remove Calendar")}));
    meeting[2].run();
    EXPECT_EQ(m_settings.meetingCalendars(), QStringList{QStringLiteral("home")});
    meeting[5].run();
    EXPECT_EQ(asked, QStringLiteral("Add Calendar"));
    EXPECT_TRUE(m_calendars.sources.contains(QStringLiteral("https://calendars.test/team.ics")));
    meeting[6].submenu.at(0).run();
    EXPECT_FALSE(m_calendars.sources.contains(QStringLiteral("work")));
    EXPECT_TRUE(m_band.menu(cpuLoad, host).isEmpty());
}

TEST_F(BandEnginesTest, MessagesAndFocusShowWhatTheyReadAndWhatAccessTheyLack)
{
    QSignalSpy setup(&m_band, &BandEngines::focusSetupRequested);
    m_band.show({messages, focus});
    BackgroundQueue::waitForDone();
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_band.engine<MessagesEngine>(messages).needsAccess());
    EXPECT_EQ(m_band.face(messages).line, QStringLiteral("messages off"));
    EXPECT_TRUE(m_band.face(focus).badge);
    EXPECT_EQ(m_band.tooltip(focus),
              QStringLiteral("Do Not Disturb. Needs Full Disk Access to read Focus state."));

    writeFile(FocusAssertions::path(m_paths.home),
              R"({"data":[{"storeAssertionRecords":[{"assertionDetails":{)"
              R"("assertionDetailsModeIdentifier":"com.apple.donotdisturb.mode.default"}}]}]})");
    m_band.engine<FocusEngine>(focus).poll();
    BackgroundQueue::waitForDone();
    QCoreApplication::processEvents();
    const BandFace face = m_band.face(focus);
    EXPECT_EQ(face.symbol, QStringLiteral("moon.fill"));
    EXPECT_FALSE(face.badge);
    EXPECT_EQ(m_band.tooltip(focus), QStringLiteral("Do Not Disturb"));

    m_band.activate(focus);
    EXPECT_EQ(setup.count(), 1) << "no shortcuts installed";
    m_band.hide();
    EXPECT_FALSE(m_band.engine<MessagesEngine>(messages).isRunning());
    EXPECT_FALSE(m_band.engine<FocusEngine>(focus).isRunning());
}

} // namespace
