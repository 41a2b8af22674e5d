#include "support/XWaylandDisplay.h"

#include "support/TestPrograms.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QThread>
#include <sys/stat.h>

namespace {

// The arguments of the XWayland server the process `parent` started, empty until it runs.
QStringList xwaylandArguments(qint64 parent)
{
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "PID (COMMAND) STATE PPID …"
        const QByteArray line = stat.readAll();
        const qsizetype close = line.lastIndexOf(')');
        const QList<QByteArray> rest = line.mid(close + 2).split(' ');
        if (!line.contains("(Xwayland)") || rest.size() < 2 || rest[1].toLongLong() != parent)
            continue;
        QFile command(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!command.open(QIODevice::ReadOnly))
            continue;
        QStringList arguments;
        for (const QByteArray& argument : command.readAll().split('\0'))
            arguments << QString::fromLocal8Bit(argument);
        return arguments;
    }
    return {};
}

} // namespace

bool prepareXSocketFolder()
{
    const QString sockets = QStringLiteral("/tmp/.X11-unix");
    return QDir().mkpath(sockets) && ::chmod(sockets.toLocal8Bit().constData(), 01777) == 0;
}

std::optional<XWaylandDisplay> waitForXWayland(const QProcess& compositor, const QDeadlineTimer& deadline,
                                               QString& error)
{
    QStringList arguments;
    while ((arguments = xwaylandArguments(compositor.processId())).size() < 2) {
        if (deadline.hasExpired() || compositor.state() == QProcess::NotRunning) {
            error = compositor.program() + QStringLiteral(" started no XWayland");
            return std::nullopt;
        }
        QThread::msleep(50);
    }
    XWaylandDisplay server{arguments[1].toLocal8Bit(), {}};
    if (!server.display.startsWith(':')) {
        error = QStringLiteral("XWayland started as ") + arguments.join(u' ');
        return std::nullopt;
    }
    if (const qsizetype auth = arguments.indexOf(QStringLiteral("-auth"));
        auth >= 0 && auth + 1 < arguments.size())
        server.authority = arguments[auth + 1].toLocal8Bit();
    return server;
}

bool waitForXClients(const QString& home, const QDeadlineTimer& deadline, QString& error)
{
    while (!TestPrograms::run(home, QStringLiteral("xdotool"), {QStringLiteral("getdisplaygeometry")})) {
        if (deadline.hasExpired()) {
            error = QStringLiteral("XWayland on %1 takes no clients").arg(qEnvironmentVariable("DISPLAY"));
            return false;
        }
        QThread::msleep(50);
    }
    return true;
}
