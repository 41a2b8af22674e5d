#include "core/ProcessUtil.h"

#include "support/LogCapture.h"
#include "support/TempHome.h"

#include <QFile>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

const QString shell = QStringLiteral("/bin/sh");

class ProcessUtilTest : public TempHome {
protected:
    std::optional<QString> run(const QString& script, const QStringList& extra = {})
    {
        return m_processes.capture(shell,
                                   QStringList{QStringLiteral("-c"), script, QStringLiteral("sh")} + extra);
    }

    ProcessUtil m_processes;
};

TEST_F(ProcessUtilTest, ArgumentsReachTheProgramUnchangedWithoutAShell)
{
    const QStringList hostile{QStringLiteral("two words"), QStringLiteral("\"quoted\" 'single'"),
                              QStringLiteral("$(touch injected)"), QStringLiteral("; rm -rf ~"),
                              QStringLiteral("émoji 🎛")};
    const std::optional<QString> output = run(QStringLiteral("printf '%s|' \"$@\""), hostile);
    EXPECT_EQ(output, hostile.join(QLatin1Char('|')) + QLatin1Char('|'));
    EXPECT_FALSE(exists(QStringLiteral("injected")));
}

TEST_F(ProcessUtilTest, OutputThatCannotBeUsedAnswersNothing)
{
    const LogCapture log;
    EXPECT_EQ(run(QStringLiteral("printf '\\377\\376'")), std::nullopt);
    EXPECT_EQ(m_processes.capture(QStringLiteral("/no/such/program"), {}), std::nullopt);
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral(
                               "Marquetto: failed to run /no/such/program: No such file or directory")});
    // More than the limit is drained, so the program finishes, and then dropped.
    EXPECT_EQ(run(QStringLiteral("head -c %1 /dev/zero").arg(ProcessUtil::maximumOutput + 1)), std::nullopt);
    EXPECT_EQ(run(QStringLiteral("head -c %1 /dev/zero").arg(ProcessUtil::maximumOutput))->size(),
              ProcessUtil::maximumOutput);
}

TEST_F(ProcessUtilTest, ErrorOutputNeverBlocksAndSignalsStartAtTheirDefaults)
{
    // Far more error output than a pipe holds: a pipe nobody read would stall the program for ever.
    EXPECT_EQ(run(QStringLiteral("head -c 1000000 /dev/zero >&2; echo done")), QStringLiteral("done\n"));
    // The child starts with no signal blocked or ignored, whatever this process did. (Only the standard
    // signals are compared: the C library keeps its own real-time ones ignored.)
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    const QString standardSignals =
        QStringLiteral("mask() { awk -v k=\"$1:\" '$1 == k { print $2 }' /proc/$$/status; }; "
                       "echo $((0x$(mask SigBlk) & 0x7fffffff)) $((0x$(mask SigIgn) & 0x7fffffff))");
    EXPECT_EQ(run(standardSignals), QStringLiteral("0 0\n"));
    std::signal(SIGPIPE, previous);
}

TEST_F(ProcessUtilTest, FiredProgramsRunInTheirOwnSessionAndAreReaped)
{
    const QString marker = m_dir.filePath(QStringLiteral("marker"));
    m_processes.fireAndForget(shell, {QStringLiteral("-c"),
                                      QStringLiteral("echo $$ $(cut -d' ' -f6 /proc/$$/stat) > \"$1.tmp\" && "
                                                     "mv \"$1.tmp\" \"$1\""),
                                      QStringLiteral("sh"), marker});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 5000));
    const QStringList ids = QString::fromLatin1(readFile(marker)).trimmed().split(QLatin1Char(' '));
    ASSERT_EQ(ids.size(), 2);
    EXPECT_EQ(ids[0], ids[1]) << "the program leads a session of its own";
    const pid_t pid = ids[0].toInt();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(QStringLiteral("/proc/%1").arg(pid)); }, 5000))
        << "the finished program was reaped, not left a zombie";
}

} // namespace
