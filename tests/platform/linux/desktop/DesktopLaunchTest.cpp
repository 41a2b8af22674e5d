#include "platform/linux/desktop/DesktopFile.h"
#include "platform/linux/desktop/LinuxWorkspace.h"
#include "platform/linux/desktop/RunningPrograms.h"
#include "support/FakeProcessRunner.h"
#include "support/LogCapture.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

class DesktopLaunchTest : public TempHome {
protected:
    QString desktopFile(const QString& name, const QByteArray& body)
    {
        const QString path = m_dir.filePath(QStringLiteral("applications/") + name);
        writeFile(path, body);
        return path;
    }

    FakeProcessRunner m_processes;
    LinuxWorkspace m_workspace{m_paths, m_processes, [] { return QStringList(); }};
};

TEST_F(DesktopLaunchTest, ExecLinesBecomeArgumentsWithQuotingAndFieldCodes)
{
    const QString path = desktopFile(QStringLiteral("app.desktop"), R"([Desktop Action new]
Exec=wrong
[Desktop Entry]
Type=Application
Name=My App
Icon=app-icon
Exec=env "FOO=a b" "/opt/My\sApp/run" --name=%c %U --entry=%k 100%% %i "say \\"hi\\" \\$HOME"
)");
    const Expected<DesktopFile, QString> file = DesktopFile::read(path);
    ASSERT_TRUE(file) << file.error().toStdString();
    const Expected<QStringList, QString> command = file->commandLine();
    ASSERT_TRUE(command) << command.error().toStdString();
    EXPECT_EQ(*command, (QStringList{QStringLiteral("env"), QStringLiteral("FOO=a b"),
                                     QStringLiteral("/opt/My App/run"), QStringLiteral("--name=My App"),
                                     QStringLiteral("--entry=") + path, QStringLiteral("100%"),
                                     QStringLiteral("--icon"), QStringLiteral("app-icon"),
                                     QStringLiteral("say \"hi\" $HOME")}));
}

TEST_F(DesktopLaunchTest, MalformedEntriesAreRefusedWithAReason)
{
    const struct {
        const char* body;
        const char* reason;
    } cases[] = {
        {"Exec=app\n", "it has no [Desktop Entry] group"},
        {"[Desktop Entry]\nType=Link\nURL=https://example.org\n", "it does not describe an application"},
        {"[Desktop Entry]\nType=Application\nName=X\n", "it has no Exec line"},
        {"[Desktop Entry]\nType=Application\nExec=app \"open\n", "an unterminated quote in its Exec line"},
        {"[Desktop Entry]\nType=Application\nExec=app %z\n", "an unknown field code %z in its Exec line"},
        {"[Desktop Entry]\nType=Application\nExec=%U\n", "its Exec line names no program"},
        {"[Desktop Entry]\nType=Application\nExec=app\xff\xfe\n", "the file is not UTF-8 text"},
    };
    for (const auto& c : cases) {
        const QString path = desktopFile(QStringLiteral("bad.desktop"), c.body);
        const Expected<DesktopFile, QString> file = DesktopFile::read(path);
        const QString reason = file ? file->commandLine().error() : file.error();
        EXPECT_EQ(reason, QString::fromUtf8(c.reason)) << c.body;
    }
    EXPECT_FALSE(DesktopFile::read(m_dir.filePath(QStringLiteral("missing.desktop"))));
}

TEST_F(DesktopLaunchTest, LaunchingStartsTheProgramDirectlyOrLogsWhyNot)
{
    const QString good = desktopFile(QStringLiteral("good.desktop"),
                                     "[Desktop Entry]\nType=Application\nExec=sh -c 'ignored' %F\n");
    EXPECT_TRUE(m_workspace.launchApplication(good));
    ASSERT_EQ(m_processes.calls().size(), 1u);
    EXPECT_EQ(m_processes.calls()[0],
              (FakeProcessRunner::Call{QStringLiteral("/usr/bin/sh"),
                                       {QStringLiteral("-c"), QStringLiteral("'ignored'")}}));

    const LogCapture log;
    const QString missing = desktopFile(QStringLiteral("missing.desktop"),
                                        "[Desktop Entry]\nType=Application\nExec=no-such-program-here\n");
    EXPECT_FALSE(m_workspace.launchApplication(missing));
    EXPECT_FALSE(m_workspace.launchApplication(m_dir.filePath(QStringLiteral("gone.desktop"))));
    EXPECT_FALSE(m_workspace.launchApplication(m_dir.path()));
    EXPECT_EQ(m_processes.calls().size(), 1u);
    EXPECT_EQ(
        log.lines(),
        (QStringList{QStringLiteral("Marquetto: can't start %1: its program is not installed").arg(missing),
                     QStringLiteral("Marquetto: can't start %1: the file can't be read")
                         .arg(m_dir.filePath(QStringLiteral("gone.desktop"))),
                     QStringLiteral("Marquetto: can't start %1: it is neither a desktop file nor a program")
                         .arg(m_dir.path())}));
}

TEST_F(DesktopLaunchTest, RunningProcessesAreFoundByExecutableOrScript)
{
    writeFile(m_dir.filePath(QStringLiteral("bin/tool")), "#!/bin/sh\n");
    const QString tool = m_dir.filePath(QStringLiteral("bin/tool"));
    QFile::link(tool, m_dir.filePath(QStringLiteral("bin/tool-link")));
    const QString proc = m_dir.filePath(QStringLiteral("proc"));
    const auto process = [&](const QString& pid, const QString& exe, const QByteArray& commandLine) {
        writeFile(proc + QLatin1Char('/') + pid + QStringLiteral("/cmdline"), commandLine);
        if (!exe.isEmpty())
            QFile::link(exe, proc + QLatin1Char('/') + pid + QStringLiteral("/exe"));
    };
    process(QStringLiteral("10"), m_dir.filePath(QStringLiteral("bin/tool-link")), QByteArray("tool\0", 5));
    process(QStringLiteral("11"), QStringLiteral("/bin/sh"),
            QByteArray("/bin/sh\0", 8) + tool.toUtf8() + '\0');
    process(QStringLiteral("12"), QString(), QByteArray("other\0", 6));
    process(QStringLiteral("self"), tool, QByteArray());
    EXPECT_EQ(RunningPrograms::processesRunning(tool, proc), (std::vector<qint64>{10, 11}));
    EXPECT_TRUE(
        RunningPrograms::processesRunning(m_dir.filePath(QStringLiteral("bin/absent")), proc).empty());
}

TEST_F(DesktopLaunchTest, ARunningApplicationIsFoundFromItsDesktopFile)
{
    QProcess sleeper;
    sleeper.start(QStringLiteral("/bin/sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(sleeper.waitForStarted());
    const QString entry = desktopFile(QStringLiteral("sleeper.desktop"),
                                      "[Desktop Entry]\nType=Application\nExec=sleep 5 %u\n");
    const std::vector<qint64> running = m_workspace.runningProcessesOf(entry);
    EXPECT_NE(std::find(running.begin(), running.end(), sleeper.processId()), running.end());
    sleeper.kill();
    sleeper.waitForFinished();
}

} // namespace
