#include "platform/linux/system/LinuxSystemControls.h"

#include "support/EnvironmentGuard.h"
#include "support/FakeDBusService.h"
#include "support/FakeDevices.h"
#include "support/FakeProcessRunner.h"
#include "support/LogCapture.h"
#include "support/PrivateBus.h"

#include <QCoreApplication>
#include <QDBusObjectPath>
#include <gtest/gtest.h>

namespace {

const QString kGsettings = QStringLiteral("/usr/bin/gsettings");
const QString kLock = QStringLiteral("org.freedesktop.login1.Session.Lock");

class LinuxSystemControlsTest : public ::testing::Test {
protected:
    FakeAudioSystem m_audio;
    FakeProcessRunner m_runner;
    std::vector<LinuxSystemControls::Job> m_jobs;

    // Controls whose background work waits in m_jobs until the test runs it.
    [[nodiscard]] LinuxSystemControls
    controls(const QString& gsettings = kGsettings,
             QDBusConnection logind = QDBusConnection(QStringLiteral("none")))
    {
        return LinuxSystemControls(
            m_audio, m_runner, gsettings, std::move(logind),
            [this](LinuxSystemControls::Job job) { m_jobs.push_back(std::move(job)); });
    }

    void runJobs()
    {
        for (const LinuxSystemControls::Job& job : std::exchange(m_jobs, {}))
            job();
    }
};

// Lock and sleep, with logind played by a fake on a private bus.
class LinuxSystemControlsLogindTest : public LinuxSystemControlsTest {
protected:
    void SetUp() override
    {
        if (!m_bus.isRunning())
            GTEST_SKIP() << "needs the dbus-daemon program";
    }

    // Tests choose the session themselves; the one the tests run in comes back afterwards.
    EnvironmentGuard m_environment;
    PrivateBus m_bus;

    std::unique_ptr<FakeDBusService> startLogind()
    {
        auto logind =
            std::make_unique<FakeDBusService>(m_bus.connect(), QStringLiteral("org.freedesktop.login1"));
        logind->answer(
            QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager.GetSession"),
            {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/freedesktop/login1/session/c7")))});
        logind->answer(QStringLiteral("/org/freedesktop/login1/session/c7"), kLock);
        logind->answer(QStringLiteral("/org/freedesktop/login1/session/auto"), kLock);
        logind->answer(QStringLiteral("/org/freedesktop/login1"),
                       QStringLiteral("org.freedesktop.login1.Manager.Suspend"));
        return logind;
    }
};

TEST_F(LinuxSystemControlsTest, VolumeAndMuteChangeTheSoundServerInTheBackground)
{
    LinuxSystemControls controls = this->controls();
    controls.volumeUp();
    controls.volumeDown();
    controls.toggleMute();
    EXPECT_TRUE(m_audio.log.entries().isEmpty());

    runJobs();
    EXPECT_EQ(m_audio.log.entries(), (QStringList{QStringLiteral("volume 10"), QStringLiteral("volume -10"),
                                                  QStringLiteral("mute")}));
}

TEST_F(LinuxSystemControlsTest, DarkModeSwitchesGnomesColourScheme)
{
    const struct {
        std::optional<QString> current;
        std::optional<QString> next;
    } cases[] = {
        {QStringLiteral("'prefer-dark'\n"), QStringLiteral("default")},
        {QStringLiteral("'default'\n"), QStringLiteral("prefer-dark")},
        {QStringLiteral("'prefer-light'\n"), QStringLiteral("prefer-dark")},
        {QStringLiteral(""), std::nullopt},
        {QStringLiteral("No such key \u201ccolor-scheme\u201d\n"), std::nullopt},
        {std::nullopt, std::nullopt},
    };
    const QStringList get{QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"),
                          QStringLiteral("color-scheme")};
    for (const auto& c : cases) {
        FakeProcessRunner runner;
        if (c.current)
            runner.answer(kGsettings + u' ' + get.join(u' '), *c.current);
        LinuxSystemControls(m_audio, runner, kGsettings, QDBusConnection(QStringLiteral("none")),
                            [](const LinuxSystemControls::Job& job) { job(); })
            .toggleDarkMode();

        std::vector<FakeProcessRunner::Call> expected{{kGsettings, get, true}};
        if (c.next)
            expected.push_back({kGsettings,
                                {QStringLiteral("set"), QStringLiteral("org.gnome.desktop.interface"),
                                 QStringLiteral("color-scheme"), *c.next},
                                false});
        EXPECT_EQ(runner.calls(), expected) << c.current.value_or(QStringLiteral("(nothing)")).toStdString();
    }
}

TEST_F(LinuxSystemControlsLogindTest, LockingLocksTheSessionOfTheEnvironmentOrElseTheCallers)
{
    const std::unique_ptr<FakeDBusService> logind = startLogind();
    const QDBusConnection bus = m_bus.connect();
    m_environment.set("XDG_SESSION_ID", "c7");
    controls(kGsettings, bus).lockScreen();
    ASSERT_TRUE(logind->waitForCalls(kLock, 1));
    m_environment.unset("XDG_SESSION_ID");
    controls(kGsettings, bus).lockScreen();
    ASSERT_TRUE(logind->waitForCalls(kLock, 2));
    logind->settle(bus);

    const std::vector<FakeDBusService::Call> getSession =
        logind->callsTo(QStringLiteral("org.freedesktop.login1.Manager.GetSession"));
    ASSERT_EQ(getSession.size(), 1u);
    EXPECT_EQ(getSession[0].arguments, QVariantList{QStringLiteral("c7")});
    const std::vector<FakeDBusService::Call> locks = logind->callsTo(kLock);
    EXPECT_EQ(locks[0].path, QStringLiteral("/org/freedesktop/login1/session/c7"));
    EXPECT_EQ(locks[1].path, QStringLiteral("/org/freedesktop/login1/session/auto"));
}

TEST_F(LinuxSystemControlsLogindTest, SleepAsksLogindToSuspendWithoutAPrompt)
{
    const std::unique_ptr<FakeDBusService> logind = startLogind();

    const QDBusConnection bus = m_bus.connect();
    controls(kGsettings, bus).sleep();

    const QString suspend = QStringLiteral("org.freedesktop.login1.Manager.Suspend");
    ASSERT_TRUE(logind->waitForCalls(suspend, 1));
    EXPECT_EQ(logind->callsTo(suspend)[0].arguments, QVariantList{false});
    logind->settle(bus);
}

TEST_F(LinuxSystemControlsLogindTest, WithoutLogindLockAndSleepAreALoggedLineEach)
{
    m_environment.set("XDG_SESSION_ID", "c7");
    LogCapture log;
    const struct {
        const char* name;
        QDBusConnection bus;
        const char* lock;
        const char* sleep;
    } cases[] = {
        {"no logind", m_bus.connect(), "Manager.GetSession", "Manager.Suspend"},
        {"no bus", QDBusConnection(QStringLiteral("none")), "no system bus to lock",
         "no system bus to sleep"},
    };
    for (const auto& c : cases) {
        const qsizetype before = log.lines().size();
        // The replies arrive after the controls are gone.
        controls(kGsettings, c.bus).lockScreen();
        controls(kGsettings, c.bus).sleep();

        ASSERT_TRUE(log.waitForLines(before + 2)) << c.name;
        const QStringList lines = log.lines().mid(before);
        EXPECT_EQ(lines.size(), 2) << c.name;
        EXPECT_TRUE(lines.filter(QLatin1String(c.lock)).size() == 1 &&
                    lines.filter(QLatin1String(c.sleep)).size() == 1)
            << lines.join(u'\n').toStdString();
        for (const QString& line : lines)
            EXPECT_TRUE(line.startsWith(QLatin1String("Marquetto: ")) && !line.contains(u'\n'))
                << line.toStdString();
    }
    // The failed calls are done with; what watched them goes now rather than outlive the test.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
