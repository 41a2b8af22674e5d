#include "commands/DeckLock.h"

#include "commands/DeckChannel.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <cerrno>
#include <csignal>
#include <optional>

namespace DeckLock {

namespace {

// The program a live process runs, where the system says (Linux); empty where it does not.
QString programOf(qint64 pid)
{
    QString target = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid));
    // A program replaced while it runs, as a rebuild does, is still that program.
    const QString deleted = QStringLiteral(" (deleted)");
    if (target.endsWith(deleted))
        target.chop(deleted.size());
    return QFileInfo(target).fileName();
}

bool isRunning(qint64 pid, const QString& program)
{
    if (pid <= 0 || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH))
        return false;
    const QString running = programOf(pid);
    return running.isEmpty() || running == QFileInfo(program).fileName();
}

struct Holder {
    qint64 pid = 0;
    QString program;
};

std::optional<Holder> holder(const AppPaths& paths)
{
    Holder holder;
    QString host;
    if (!QLockFile(DeckChannel::lockPath(paths)).getLockInfo(&holder.pid, &host, &holder.program))
        return std::nullopt;
    // The lock lives in this machine's runtime folder; a process id of another machine says nothing here.
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        return std::nullopt;
    return holder;
}

} // namespace

bool isHeld(const AppPaths& paths)
{
    const auto held = holder(paths);
    return held && isRunning(held->pid, held->program);
}

bool isHeldByThisProcess(const AppPaths& paths)
{
    const auto held = holder(paths);
    return held && held->pid == QCoreApplication::applicationPid();
}

} // namespace DeckLock
