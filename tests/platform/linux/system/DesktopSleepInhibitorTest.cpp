#include "platform/linux/system/DesktopSleepInhibitor.h"

#include "band/KeepAwakeEngine.h"
#include "support/FakeDBusService.h"
#include "support/LogCapture.h"
#include "support/PrivateBus.h"

#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QSignalSpy>
#include <QTest>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

namespace {

const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
const QString kInhibit = QStringLiteral("org.freedesktop.login1.Manager.Inhibit");
const QString kScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kScreenSaverInhibit = QStringLiteral("org.freedesktop.ScreenSaver.Inhibit");
const QString kUnInhibit = QStringLiteral("org.freedesktop.ScreenSaver.UnInhibit");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kPortalInhibit = QStringLiteral("org.freedesktop.portal.Inhibit.Inhibit");
const QString kRequestPath = QStringLiteral("/org/freedesktop/portal/desktop/request/1_7/t1");
const QString kRequestClose = QStringLiteral("org.freedesktop.portal.Request.Close");
const QString kSessionManagerPath = QStringLiteral("/org/gnome/SessionManager");
const QString kSessionInhibit = QStringLiteral("org.gnome.SessionManager.Inhibit");
const QString kSessionUninhibit = QStringLiteral("org.gnome.SessionManager.Uninhibit");
// Suspending and the session going idle.
constexpr uint kSuspendAndIdle = 12;

class DesktopSleepInhibitorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!m_bus.isRunning())
            GTEST_SKIP() << "needs the dbus-daemon program";
    }

    ~DesktopSleepInhibitorTest() override
    {
        if (m_writer >= 0)
            ::close(m_writer);
    }

    // A logind whose inhibitor is the read end of a pipe; the test keeps the write end.
    [[nodiscard]] std::unique_ptr<FakeDBusService> startLogind()
    {
        int ends[2];
        EXPECT_EQ(::pipe2(ends, O_CLOEXEC), 0);
        m_writer = ends[1];
        auto logind =
            std::make_unique<FakeDBusService>(m_bus.connect(), QStringLiteral("org.freedesktop.login1"));
        logind->answer(kLogindPath, kInhibit, {QVariant::fromValue(QDBusUnixFileDescriptor(ends[0]))});
        ::close(ends[0]);
        return logind;
    }

    // Whether the inhibitor's descriptor is still open somewhere.
    [[nodiscard]] bool inhibitorOpen() const
    {
        pollfd polled{m_writer, POLLOUT, 0};
        return ::poll(&polled, 1, 0) == 1 && (polled.revents & POLLERR) == 0;
    }

    // Logind and the screen saver share the test's bus.
    [[nodiscard]] DesktopSleepInhibitor inhibitor()
    {
        return DesktopSleepInhibitor(m_client, m_client, std::chrono::seconds(5));
    }

    static void waitFor(const std::optional<bool>& answered)
    {
        for (int turn = 0; turn < 500 && !answered; ++turn)
            QTest::qWait(10);
    }

    [[nodiscard]] static std::optional<bool> held(SleepInhibitor& inhibitor)
    {
        std::optional<bool> answered;
        inhibitor.inhibit([&answered](bool held) { answered = held; });
        waitFor(answered);
        return answered;
    }

    PrivateBus m_bus;
    QDBusConnection m_client = m_bus.connect();
    int m_writer = -1;
};

TEST_F(DesktopSleepInhibitorTest, LogindsDescriptorIsHeldUntilTheRelease)
{
    const std::unique_ptr<FakeDBusService> logind = startLogind();
    DesktopSleepInhibitor inhibitor = this->inhibitor();
    KeepAwakeEngine engine(inhibitor);

    QSignalSpy on(&engine, &KeepAwakeEngine::onChanged);
    engine.toggle();
    ASSERT_TRUE(on.wait(5000));
    EXPECT_TRUE(engine.isOn());
    EXPECT_EQ(inhibitor.holder(), QStringLiteral("logind"));
    const std::vector<FakeDBusService::Call> calls = logind->callsTo(kInhibit);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].arguments, (QVariantList{QStringLiteral("idle:sleep"), QStringLiteral("Marquetto"),
                                                QStringLiteral("Keep Awake"), QStringLiteral("block")}));
    // The fake's copy and the reply's go, so that only ours is left.
    logind->answer(kLogindPath, kInhibit);
    logind->settle(m_client);
    EXPECT_TRUE(inhibitorOpen());

    engine.release();
    EXPECT_FALSE(engine.isOn());
    // The bus may still be letting go of a copy in passing; ours is closed at once.
    EXPECT_TRUE(QTest::qWaitFor([this] { return !inhibitorOpen(); }, 2000));
}

TEST_F(DesktopSleepInhibitorTest, WithoutLogindTheScreenSaverHoldsItUntilTheCookieIsGivenBackElseNothingDoes)
{
    DesktopSleepInhibitor inhibitor = this->inhibitor();
    {
        const LogCapture log;
        EXPECT_EQ(held(inhibitor), false);
        EXPECT_EQ(
            log.lines().filter(QStringLiteral("nothing on this desktop can keep the machine awake")).size(),
            1);
    }

    FakeDBusService screenSaver(m_bus.connect(), QStringLiteral("org.freedesktop.ScreenSaver"));
    screenSaver.answer(kScreenSaverPath, kScreenSaverInhibit, {QVariant::fromValue(7u)});
    screenSaver.answer(kScreenSaverPath, kUnInhibit);
    EXPECT_EQ(held(inhibitor), true);
    EXPECT_EQ(inhibitor.holder(), QStringLiteral("the screen saver"));
    inhibitor.release();
    EXPECT_TRUE(inhibitor.holder().isEmpty());
    ASSERT_TRUE(screenSaver.waitForCalls(kUnInhibit, 1));
    EXPECT_EQ(screenSaver.callsTo(kUnInhibit)[0].arguments, QVariantList{7u});
    screenSaver.settle(m_client);
}

TEST_F(DesktopSleepInhibitorTest, AnInhibitionGrantedAfterTheReleaseIsGivenBackAtOnce)
{
    FakeDBusService portal(m_bus.connect(), QStringLiteral("org.freedesktop.portal.Desktop"));
    portal.answer(kPortalPath, kPortalInhibit, {QVariant::fromValue(QDBusObjectPath(kRequestPath))});
    portal.answer(kRequestPath, kRequestClose);
    DesktopSleepInhibitor inhibitor = this->inhibitor();
    std::optional<bool> answered;
    inhibitor.inhibit([&answered](bool held) { answered = held; });
    inhibitor.release();
    waitFor(answered);
    EXPECT_EQ(answered, false);
    EXPECT_TRUE(inhibitor.holder().isEmpty());
    ASSERT_TRUE(portal.waitForCalls(kRequestClose, 1));
    portal.settle(m_client);
}

TEST_F(DesktopSleepInhibitorTest, ThePortalThenGnomesSessionManagerAreAskedBeforeLogindForIdleAndSuspend)
{
    const std::unique_ptr<FakeDBusService> logind = startLogind();
    DesktopSleepInhibitor inhibitor = this->inhibitor();
    {
        FakeDBusService portal(m_bus.connect(), QStringLiteral("org.freedesktop.portal.Desktop"));
        portal.answer(kPortalPath, kPortalInhibit, {QVariant::fromValue(QDBusObjectPath(kRequestPath))});
        portal.answer(kRequestPath, kRequestClose);
        EXPECT_EQ(held(inhibitor), true);
        EXPECT_EQ(inhibitor.holder(), QStringLiteral("the desktop portal"));
        const std::vector<FakeDBusService::Call> calls = portal.callsTo(kPortalInhibit);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].arguments.value(0), QString());
        EXPECT_EQ(calls[0].arguments.value(1), kSuspendAndIdle);
        inhibitor.release();
        ASSERT_TRUE(portal.waitForCalls(kRequestClose, 1));
        portal.settle(m_client);
    }

    FakeDBusService session(m_bus.connect(), QStringLiteral("org.gnome.SessionManager"));
    session.answer(kSessionManagerPath, kSessionInhibit, {QVariant::fromValue(42u)});
    session.answer(kSessionManagerPath, kSessionUninhibit);
    EXPECT_EQ(held(inhibitor), true);
    EXPECT_EQ(inhibitor.holder(), QStringLiteral("the GNOME session manager"));
    const std::vector<FakeDBusService::Call> calls = session.callsTo(kSessionInhibit);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].arguments,
              (QVariantList{QStringLiteral("Marquetto"), 0u, QStringLiteral("Keep Awake"), kSuspendAndIdle}));
    inhibitor.release();
    ASSERT_TRUE(session.waitForCalls(kSessionUninhibit, 1));
    EXPECT_EQ(session.callsTo(kSessionUninhibit)[0].arguments, QVariantList{42u});
    session.settle(m_client);
    EXPECT_TRUE(logind->callsTo(kInhibit).empty()) << "logind's inhibitor is not what GNOME honours";
}

} // namespace
