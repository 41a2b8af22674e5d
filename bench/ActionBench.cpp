// How long a script tile takes from the press to its program running, beside a bare posix_spawn of the
// same shell with the same script. The script writes its process id into a FIFO; the clock stops when it
// arrives. The clock does not run while the child exits, so that one run's exit is not charged to the next.
#include "core/BackgroundQueue.h"
#include "core/ProcessUtil.h"
#include "platform/Programs.h"
#include "support/ActionMachinery.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// A FIFO in a temporary folder, held open for reading so that the writer never waits for us.
class Signal {
public:
    Signal()
    {
        m_path = m_dir.filePath(QStringLiteral("ready")).toLocal8Bit();
        ::mkfifo(m_path.constData(), 0600);
        m_fd = ::open(m_path.constData(), O_RDONLY | O_NONBLOCK);
        // A writer to keep the FIFO from reporting end-of-file between runs.
        m_keepOpen = ::open(m_path.constData(), O_WRONLY);
        ::fcntl(m_fd, F_SETFL, 0);
    }
    ~Signal()
    {
        ::close(m_fd);
        ::close(m_keepOpen);
    }
    [[nodiscard]] QString script() const
    {
        return QStringLiteral("echo $$ > '%1'").arg(QString::fromLocal8Bit(m_path));
    }
    // The process id the script wrote.
    [[nodiscard]] pid_t await() const
    {
        QByteArray line;
        char byte = 0;
        while (::read(m_fd, &byte, 1) == 1 && byte != '\n')
            line += byte;
        return line.toInt();
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_path;
    int m_fd = -1;
    int m_keepOpen = -1;
};

void scriptTileToRunningChild(benchmark::State& state)
{
    const QTemporaryDir home;
    Preferences preferences(home.filePath(QStringLiteral("preferences.json")));
    ActionMachinery machine(preferences);
    ProcessUtil processes;
    ActionRunner runner({processes, machine.workspace, machine.apps, machine.systemActions, machine.music,
                         machine.audio, machine.bluetooth, machine.clipboard, machine.scenes});
    const Signal ready;
    const TileAction tile{TileAction::RunScript{ready.script(), false}};
    for (auto _ : state) {
        runner.execute(tile);
        const pid_t child = ready.await();
        state.PauseTiming();
        // The runner's own thread reaps the child; wait until it has.
        while (::kill(child, 0) == 0)
            ::usleep(20);
        state.ResumeTiming();
    }
}
BENCHMARK(scriptTileToRunningChild)->UseRealTime()->Unit(benchmark::kMicrosecond);

void bareSpawnToRunningChild(benchmark::State& state)
{
    const Signal ready;
    const QByteArray shell = Programs::scriptShell().toLocal8Bit();
    const QByteArray script = ready.script().toLocal8Bit();
    char* const argv[] = {const_cast<char*>(shell.constData()), const_cast<char*>("-c"),
                          const_cast<char*>(script.constData()), nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        posix_spawn(&pid, shell.constData(), nullptr, nullptr, argv, environ);
        (void)ready.await();
        state.PauseTiming();
        ::waitpid(pid, nullptr, 0);
        state.ResumeTiming();
    }
}
BENCHMARK(bareSpawnToRunningChild)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace
