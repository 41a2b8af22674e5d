#include "support/TestPrograms.h"

#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QThread>

namespace TestPrograms {

QStringList missing(const QStringList& programs)
{
    QStringList missing;
    for (const QString& program : programs) {
        if (QStandardPaths::findExecutable(program).isEmpty())
            missing << program;
    }
    return missing;
}

QProcessEnvironment environment(const QString& home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        environment.remove(QLatin1String(name));
    return environment;
}

bool start(QProcess& process, const QString& home, const QString& program, const QStringList& arguments,
           const QProcessEnvironment& extra)
{
    QProcessEnvironment merged = environment(home);
    merged.insert(extra);
    process.setProcessEnvironment(merged);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    return process.waitForStarted();
}

bool startService(QProcess& process, const QString& home, const QString& program,
                  const QStringList& arguments, QDBusConnection& bus, const QString& name, QString& error,
                  const QProcessEnvironment& extra)
{
    if (!start(process, home, program, arguments, extra)) {
        error = program + QStringLiteral(" did not start");
        return false;
    }
    const QDeadlineTimer deadline(std::chrono::seconds(15));
    while (!bus.interface()->isServiceRegistered(name)) {
        if (deadline.hasExpired() || process.state() == QProcess::NotRunning) {
            error = program + QStringLiteral(" never came on the bus as ") + name;
            return false;
        }
        QThread::msleep(50);
    }
    return true;
}

std::optional<QString> run(const QString& home, const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessEnvironment(environment(home));
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(5000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        stop(process);
        return std::nullopt;
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

void stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

} // namespace TestPrograms
