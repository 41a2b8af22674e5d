#include "RunningDeck.h"

#include "commands/DeckChannel.h"
#include "core/AppPaths.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString logPath(const QTemporaryDir& dir)
{
    return dir.filePath(QStringLiteral("deck.log"));
}

} // namespace

RunningDeck::RunningDeck(QString program, QString home, QString desktop)
    : m_program(std::move(program))
    , m_home(std::move(home))
    , m_desktop(std::move(desktop))
{
}

RunningDeck::~RunningDeck()
{
    stop();
}

bool RunningDeck::start(std::chrono::milliseconds timeout)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS", "QT_QPA_PLATFORM", "XDG_CURRENT_DESKTOP"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("HOME"), m_home);
    if (!m_desktop.isEmpty())
        environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), m_desktop);
    m_process.setProcessEnvironment(environment);
    // Before the program runs, so that it is in its cgroup before it asks anybody anything.
    m_process.setChildProcessModifier([processes = m_processesFile.toLocal8Bit()] {
        ::setpgid(0, 0);
        if (processes.isEmpty())
            return;
        if (const int file = ::open(processes.constData(), O_WRONLY); file >= 0) {
            (void)!::write(file, "0", 1);
            ::close(file);
        }
    });
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(logPath(m_logDir), QIODevice::Append);
    m_process.start(m_program, {});
    if (!m_process.waitForStarted())
        return false;
    const QDeadlineTimer deadline(timeout);
    while (!answers()) {
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
            return false;
        QThread::msleep(5);
    }
    return true;
}

bool RunningDeck::answers() const
{
    const auto answer = DeckChannel::send(AppPaths::forHome(m_home), {{QStringLiteral("state")}, {}},
                                          std::chrono::seconds(5));
    return answer && answer->status == 0;
}

void RunningDeck::kill()
{
    if (!isRunning())
        return;
    ::kill(-static_cast<pid_t>(m_process.processId()), SIGKILL);
    m_process.waitForFinished(10000);
}

void RunningDeck::stop()
{
    if (!isRunning())
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000))
        kill();
}

QByteArray RunningDeck::log() const
{
    QFile file(logPath(m_logDir));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
