#include "platform/linux/calendar/eds/EdsCalendarStore.h"

#include "support/EnvironmentGuard.h"
#include "support/FakeWorkspace.h"
#include "support/LogCapture.h"
#include "support/PrivateBus.h"

#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <libecal/libecal.h>
#include <sys/prctl.h>

namespace {

const QString registryProgram = QStringLiteral("/usr/libexec/evolution-source-registry");
const QString factoryProgram = QStringLiteral("/usr/libexec/evolution-calendar-factory");
const QString systemCalendar = QStringLiteral("system-calendar");

class EdsCalendarStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFileInfo(registryProgram).isExecutable() || !QFileInfo(factoryProgram).isExecutable())
            GTEST_SKIP() << "needs Evolution Data Server (" << registryProgram.toStdString() << ")";
        ASSERT_TRUE(m_bus.isRunning());
        const QByteArray home = m_home.path().toUtf8();
        m_environment.set("HOME", home);
        m_environment.set("XDG_DATA_HOME", home + "/data");
        m_environment.set("XDG_CONFIG_HOME", home + "/config");
        m_environment.set("XDG_CACHE_HOME", home + "/cache");
        m_environment.set("GSETTINGS_BACKEND", "memory");
        m_environment.set("DBUS_SESSION_BUS_ADDRESS", m_bus.address().toUtf8());
    }

    void TearDown() override
    {
        for (QProcess* process : {&m_factory, &m_registry}) {
            process->kill();
            process->waitForFinished();
        }
    }

    // The factory finds calendars through the registry, and nothing starts either on demand here.
    void startServer()
    {
        start(m_registry, registryProgram, QStringLiteral("org.gnome.evolution.dataserver.Sources5"));
        start(m_factory, factoryProgram, QStringLiteral("org.gnome.evolution.dataserver.Calendar8"));
    }

    void start(QProcess& process, const QString& program, const QString& busName)
    {
        process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program, {});
        ASSERT_TRUE(process.waitForStarted());
        QDBusConnection bus = m_bus.connect();
        ASSERT_TRUE(waitFor([&] { return bus.interface()->isServiceRegistered(busName).value(); }, 10000))
            << program.toStdString() << " did not come onto the bus";
    }

    // Whether the store grants access, once it has answered.
    static bool ask(CalendarStore& store)
    {
        std::optional<bool> granted;
        store.requestAccess([&](bool answer) { granted = answer; });
        return waitFor([&] { return granted.has_value(); }, 10000) && *granted;
    }

    // Lets the store's thread report until `done` holds or the deadline passes.
    static bool waitFor(const std::function<bool()>& done, int milliseconds)
    {
        const QDeadlineTimer deadline(milliseconds);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return done();
    }

    PrivateBus m_bus;
    QTemporaryDir m_home;
    EnvironmentGuard m_environment;
    QProcess m_registry;
    QProcess m_factory;
};

// The test writes its event as any calendar application would, through libecal.
ECalClient* openSystemCalendar()
{
    GError* error = nullptr;
    ESourceRegistry* registry = e_source_registry_new_sync(nullptr, &error);
    EXPECT_TRUE(registry) << (error ? error->message : "");
    if (!registry)
        return nullptr;
    ESource* source = e_source_registry_ref_builtin_calendar(registry);
    EClient* client = e_cal_client_connect_sync(source, E_CAL_CLIENT_SOURCE_TYPE_EVENTS, 10, nullptr, &error);
    EXPECT_TRUE(client) << (error ? error->message : "");
    g_clear_error(&error);
    g_object_unref(source);
    g_object_unref(registry);
    return client ? E_CAL_CLIENT(client) : nullptr;
}

void writeEvent(ECalClient* client, const QDateTime& start, const char* title, bool isNew)
{
    const QByteArray text =
        "BEGIN:VEVENT\r\nUID:marquetto-test\r\nSUMMARY:" + QByteArray(title) +
        "\r\nDTSTART:" + start.toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1() +
        "\r\nDURATION:PT30M\r\nATTENDEE:mailto:ann@example.org\r\nEND:VEVENT\r\n";
    ICalComponent* component = i_cal_component_new_from_string(text.constData());
    GError* error = nullptr;
    const bool written = isNew ? e_cal_client_create_object_sync(client, component, E_CAL_OPERATION_FLAG_NONE,
                                                                 nullptr, nullptr, &error)
                               : e_cal_client_modify_object_sync(client, component, E_CAL_OBJ_MOD_ALL,
                                                                 E_CAL_OPERATION_FLAG_NONE, nullptr, &error);
    EXPECT_TRUE(written) << (error ? error->message : "");
    g_clear_error(&error);
    g_object_unref(component);
}

} // namespace

TEST_F(EdsCalendarStoreTest, WaitsForTheServerThenSeesEventsAndTheirChangesAndKeepsThemWhenItQuits)
{
    FakeWorkspace workspace;
    EdsCalendarStore store(workspace);
    {
        LogCapture log;
        EXPECT_FALSE(ask(store));
        EXPECT_EQ(store.authorization(), CalendarStore::Authorization::notDetermined);
        EXPECT_EQ(log.lines().size(), 1);
    }

    startServer();
    EXPECT_TRUE(ask(store));
    EXPECT_EQ(store.authorization(), CalendarStore::Authorization::granted);
    ASSERT_TRUE(waitFor([&] { return store.isWatching(systemCalendar); }, 10000));

    ECalClient* client = openSystemCalendar();
    ASSERT_TRUE(client);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDateTime start = now.addSecs(600).addMSecs(-now.time().msec());
    const auto titles = [&] {
        QStringList titles;
        for (const CalendarEvent& event : store.eventsQuery(now, now.addSecs(3600), {systemCalendar})())
            titles.append(event.title + (event.hasAttendees ? QStringLiteral(" with others") : QString()));
        return titles;
    };

    QSignalSpy changed(&store, &CalendarStore::changed);
    writeEvent(client, start, "Planning", true);
    ASSERT_TRUE(changed.wait(2000));
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Planning with others")});

    changed.clear();
    writeEvent(client, start, "Planning, moved room", false);
    ASSERT_TRUE(waitFor([&] { return !changed.isEmpty(); }, 2000));
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Planning, moved room with others")});
    g_object_unref(client);

    LogCapture log;
    m_factory.kill();
    m_factory.waitForFinished();
    ASSERT_TRUE(waitFor([&] { return !store.isWatching(systemCalendar); }, 5000));
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Planning, moved room with others")});
    EXPECT_FALSE(log.lines().isEmpty());
}

TEST_F(EdsCalendarStoreTest, StoppedItClosesEveryCalendarUntilAccessIsAskedForAgain)
{
    startServer();
    FakeWorkspace workspace;
    EdsCalendarStore store(workspace);
    ASSERT_TRUE(ask(store));
    ASSERT_TRUE(waitFor([&] { return store.isWatching(systemCalendar); }, 10000));

    store.stopFollowing();
    EXPECT_EQ(store.authorization(), CalendarStore::Authorization::notDetermined);
    ASSERT_TRUE(waitFor([&] { return store.calendars().isEmpty(); }, 5000));
    EXPECT_FALSE(store.isWatching(systemCalendar));

    EXPECT_TRUE(ask(store));
    EXPECT_TRUE(waitFor([&] { return store.isWatching(systemCalendar); }, 10000));
}
