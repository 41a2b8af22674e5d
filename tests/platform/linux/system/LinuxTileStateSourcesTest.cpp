#include "platform/linux/system/LinuxTileStateSources.h"

#include "core/ProcessUtil.h"
#include "support/FakeDBusService.h"
#include "support/FakeProcessRunner.h"
#include "support/PrivateBus.h"
#include "support/TempHome.h"

#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

namespace {

using Interfaces = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, Interfaces>;
using Output = TileStateSources::Output;

// Waits for an answer on the event loop, where the sources deliver it.
template <typename Value, typename Read>
std::optional<Value> awaited(const Read& read)
{
    std::optional<Value> answered;
    read([&answered](Value value) { answered = std::move(value); });
    for (int turn = 0; turn < 500 && !answered; ++turn)
        QTest::qWait(10);
    return answered;
}

class LinuxTileStateSourcesTest : public TempHome {
protected:
    // Its reads are the fake runner's; its monitor reports one change once the file "flipped" is there.
    void SetUp() override
    {
        writeFile(m_gsettings, "#!/bin/sh\ncd \"$(dirname \"$0\")\"\n[ \"$1\" = monitor ] || exit 1\n"
                               "while [ ! -e flipped ]; do sleep 0.02; done\n"
                               "echo \"color-scheme: 'prefer-dark'\"; exec sleep 30\n");
        QFile::setPermissions(m_gsettings, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void answerColourScheme(const QString& scheme)
    {
        m_runner.answer(m_gsettings + QStringLiteral(" get org.gnome.desktop.interface color-scheme"),
                        scheme);
    }

    LinuxTileStateSources& sources() { return sources(m_runner, {{}, m_gsettings, m_proc}); }

    LinuxTileStateSources& sources(ProcessRunner& runner, const LinuxTileStateSources::Programs& programs)
    {
        // The subscriber listens when a test says so.
        m_soundEvents = std::make_shared<PactlSubscription>(programs.pactl, std::chrono::hours(1));
        m_sources = std::make_unique<LinuxTileStateSources>(
            runner, programs, m_soundEvents,
            m_bus.isRunning() ? m_bus.connect() : QDBusConnection(QStringLiteral("none")),
            m_bus.isRunning() ? m_bus.connect() : QDBusConnection(QStringLiteral("none")));
        return *m_sources;
    }

    // A pactl whose default output is what the file "default" beside it says, "hdmi_out" at first, with the
    // sinks of the support folder; `subscribe` and `defaultSink` are its shell for those two commands.
    QString fakePactl(const QByteArray& subscribe, const QByteArray& defaultSink = "cat default")
    {
        const QString folder = m_dir.path();
        writeFile(folder + QStringLiteral("/default"), "hdmi_out\n");
        QFile::copy(QStringLiteral(MARQUETTO_SUPPORT_DIR "/pactl-list-sinks.json"),
                    folder + QStringLiteral("/sinks"));
        const QString pactl = folder + QStringLiteral("/pactl");
        writeFile(pactl, "#!/bin/sh\ncd '" + folder.toUtf8() + "'\ncase \"$*\" in\nsubscribe) " + subscribe +
                             ";;\nget-default-sink) " + defaultSink +
                             ";;\n'--format=json list sinks') cat sinks;;\nesac\n");
        QFile::setPermissions(pactl, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return pactl;
    }

    void process(const QString& pid, const QString& exe, const QByteArray& commandLine)
    {
        QDir(m_proc).removeRecursively();
        writeFile(m_proc + u'/' + pid + QStringLiteral("/cmdline"), commandLine);
        QFile::link(exe, m_proc + u'/' + pid + QStringLiteral("/exe"));
    }

    QString m_proc = m_dir.filePath(QStringLiteral("proc"));
    QString m_gsettings = m_dir.filePath(QStringLiteral("gsettings"));
    ProcessUtil m_programs;
    FakeProcessRunner m_runner;
    std::shared_ptr<PactlSubscription> m_soundEvents;
    PrivateBus m_bus;
    std::unique_ptr<LinuxTileStateSources> m_sources;
};

TEST_F(LinuxTileStateSourcesTest, ApplicationsAreFoundByDesktopFileAndFollowedThroughChanges)
{
    const QString tool = m_dir.filePath(QStringLiteral("bin/tool"));
    const QString other = m_dir.filePath(QStringLiteral("bin/other"));
    writeFile(tool, "#!/bin/sh\n");
    writeFile(other, "#!/bin/sh\n");
    const QString entry = m_dir.filePath(QStringLiteral("tool.desktop"));
    writeFile(entry, "[Desktop Entry]\nType=Application\nName=Tool\nExec=" + tool.toUtf8() + " %U\n");
    process(QStringLiteral("10"), QStringLiteral("/bin/sh"),
            QByteArray("/bin/sh\0", 8) + tool.toUtf8() + '\0');
    LinuxTileStateSources& linux = sources();
    const QStringList paths{entry, other};
    const auto read = [&](auto answer) { linux.readRunningApplications(paths, std::move(answer)); };
    EXPECT_EQ(awaited<QSet<QString>>(read), QSet<QString>{entry});

    linux.followApplications(paths);
    EXPECT_TRUE(linux.checkTimer().isActive());
    QSignalSpy changed(&linux, &TileStateSources::applicationsChanged);
    // Between the read and the first check the same pid came to run another script through the same shell:
    // only that first pass can tell, and the cached process must be read again.
    process(QStringLiteral("10"), QStringLiteral("/bin/sh"),
            QByteArray("/bin/sh\0", 8) + other.toUtf8() + '\0');
    linux.checkApplications();
    EXPECT_TRUE(changed.wait(5000));
    EXPECT_EQ(awaited<QSet<QString>>(read), QSet<QString>{other});

    linux.checkApplications();
    ASSERT_TRUE(QTest::qWaitFor([&linux] { return !linux.isChecking(); }, 5000));
    EXPECT_EQ(changed.count(), 1) << "a pass that finds what the last one found reports nothing";
    process(QStringLiteral("10"), QStringLiteral("/bin/sh"),
            QByteArray("/bin/sh\0", 8) + tool.toUtf8() + '\0');
    linux.checkApplications();
    EXPECT_TRUE(changed.wait(5000));

    linux.followApplications({});
    EXPECT_FALSE(linux.checkTimer().isActive());
}

TEST_F(LinuxTileStateSourcesTest, TheOutputFollowsPactlEvents)
{
    const QString folder = m_dir.path();
    sources(m_programs, {fakePactl("echo \"Event 'change' on sink-input #7\"\n"
                                   "  while [ ! -e go ]; do sleep 0.02; done\n"
                                   "  echo \"Event 'change' on server #1\"; exec sleep 30"),
                         {},
                         m_proc});
    const auto read = [&](auto answer) { m_sources->readOutput(std::move(answer)); };
    EXPECT_EQ(awaited<Output>(read), (Output{false, QStringLiteral("hdmi_out")}));

    // A change made while the subscriber connected is found once it listens, later ones with its events.
    QSignalSpy changed(m_sources.get(), &TileStateSources::outputChanged);
    writeFile(folder + QStringLiteral("/default"), "speakers\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_soundEvents->isRunning(); }, 5000));
    m_soundEvents->settled();
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(awaited<Output>(read), (Output{true, QStringLiteral("speakers")}));
    writeFile(folder + QStringLiteral("/default"), "hdmi_out\n");
    writeFile(folder + QStringLiteral("/go"), "");
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(awaited<Output>(read), (Output{false, QStringLiteral("hdmi_out")}));
    EXPECT_EQ(changed.count(), 2);

    sources(m_programs, {});
    EXPECT_EQ(awaited<Output>(read), Output());
}

TEST_F(LinuxTileStateSourcesTest, AQueryThatEndsLateNeverOverwritesWhatALaterOneFound)
{
    const QString folder = m_dir.path();
    writeFile(folder + QStringLiteral("/hold"), "");
    // The first query reads the default output, then waits for the file "release" before it answers.
    sources(m_programs,
            {fakePactl("exec sleep 30",
                       "v=$(cat default)\n"
                       "  if [ -e hold ]; then rm hold; while [ ! -e release ]; do sleep 0.02; done; fi\n"
                       "  echo \"$v\""),
             {},
             m_proc});
    std::optional<Output> late;
    m_sources->readOutput([&late](Output output) { late = output; });
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !QFile::exists(folder + QStringLiteral("/hold")) && m_soundEvents->isRunning(); },
        5000));

    QSignalSpy changed(m_sources.get(), &TileStateSources::outputChanged);
    writeFile(folder + QStringLiteral("/default"), "speakers\n");
    m_soundEvents->settled();
    ASSERT_TRUE(changed.wait(5000));
    writeFile(folder + QStringLiteral("/release"), "");
    ASSERT_TRUE(QTest::qWaitFor([&] { return late.has_value(); }, 5000));
    const Output speakers{true, QStringLiteral("speakers")};
    EXPECT_EQ(late, speakers);
    EXPECT_EQ(awaited<Output>([&](auto answer) { m_sources->readOutput(std::move(answer)); }), speakers);
}

TEST_F(LinuxTileStateSourcesTest, BluetoothAndThePortalsColourSchemeComeFromTheBus)
{
    if (!m_bus.isRunning())
        GTEST_SKIP() << "needs the dbus-daemon program";
    qDBusRegisterMetaType<Interfaces>();
    qDBusRegisterMetaType<ManagedObjects>();
    LinuxTileStateSources& linux = sources();
    const auto bluetooth = [&](auto answer) { linux.readConnectedBluetooth(std::move(answer)); };
    EXPECT_EQ(awaited<QSet<QString>>(bluetooth), QSet<QString>());

    const auto device = [](const char* address, bool connected) {
        return Interfaces{{QStringLiteral("org.bluez.Device1"),
                           {{QStringLiteral("Address"), QString::fromLatin1(address)},
                            {QStringLiteral("Paired"), true},
                            {QStringLiteral("Connected"), connected}}}};
    };
    FakeDBusService bluez(m_bus.connect(), QStringLiteral("org.bluez"));
    const ManagedObjects objects{
        {QDBusObjectPath(QStringLiteral("/org/bluez/hci0/dev_AA")), device("AA:BB:CC:DD:EE:FF", true)},
        {QDBusObjectPath(QStringLiteral("/org/bluez/hci0/dev_11")), device("11:22:33:44:55:66", false)},
    };
    bluez.answer(QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.ObjectManager.GetManagedObjects"),
                 {QVariant::fromValue(objects)});
    EXPECT_EQ(awaited<QSet<QString>>(bluetooth), QSet<QString>{QStringLiteral("aa:bb:cc:dd:ee:ff")});

    FakeDBusService portal(m_bus.connect(), QStringLiteral("org.freedesktop.portal.Desktop"));
    portal.answer(QStringLiteral("/org/freedesktop/portal/desktop"),
                  QStringLiteral("org.freedesktop.portal.Settings.Read"),
                  {QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(1u))))});
    LinuxTileStateSources& withPortal = sources();
    answerColourScheme(QStringLiteral("'default'\n"));
    EXPECT_EQ(awaited<bool>([&](auto answer) { withPortal.readDarkMode(std::move(answer)); }), true)
        << "the portal wins over GNOME's setting";
}

TEST_F(LinuxTileStateSourcesTest, WithoutAPortalGnomesSettingIsFollowed)
{
    LinuxTileStateSources& linux = sources();
    const auto dark = [&](auto answer) { linux.readDarkMode(std::move(answer)); };
    answerColourScheme(QStringLiteral("'default'\n"));
    EXPECT_EQ(awaited<bool>(dark), false);

    QSignalSpy changed(&linux, &TileStateSources::darkModeChanged);
    answerColourScheme(QStringLiteral("'prefer-dark'\n"));
    writeFile(m_dir.filePath(QStringLiteral("flipped")), "");
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(awaited<bool>(dark), true);
}

} // namespace
