#include "PrivateBus.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <csignal>
#include <sys/prctl.h>

namespace {

// Only this test's processes can reach the socket, so everyone may own any name and send anything.
QByteArray configuration(const QString& socketDir)
{
    return "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig>\n"
           "  <type>session</type>\n"
           "  <listen>unix:dir=" +
           socketDir.toUtf8() +
           "</listen>\n"
           "  <auth>EXTERNAL</auth>\n"
           "  <policy context=\"default\">\n"
           "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
           "    <allow eavesdrop=\"true\"/>\n"
           "    <allow own=\"*\"/>\n"
           "  </policy>\n"
           "</busconfig>\n";
}

} // namespace

PrivateBus::PrivateBus()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    const QString configPath = m_dir.filePath(QStringLiteral("bus.conf"));
    QFile config(configPath);
    if (program.isEmpty() || !m_dir.isValid() || !config.open(QIODevice::WriteOnly) ||
        config.write(configuration(m_dir.path())) < 0 || !config.flush())
        return;
    // A test that crashes must not leave its daemon behind.
    m_daemon.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_daemon.start(program, {QStringLiteral("--config-file=") + configPath, QStringLiteral("--print-address"),
                             QStringLiteral("--nofork")});
    // The daemon prints its address once it is listening.
    const QDeadlineTimer deadline(10000);
    while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    // Its complaints matter only when it did not start: as root it also reports limits it may not raise.
    if (m_address.isEmpty())
        qWarning().noquote() << "dbus-daemon did not start:" << m_daemon.readAllStandardError();
}

PrivateBus::~PrivateBus()
{
    for (const QString& name : std::as_const(m_connections))
        QDBusConnection::disconnectFromBus(name);
    if (m_daemon.state() == QProcess::NotRunning)
        return;
    m_daemon.terminate();
    if (!m_daemon.waitForFinished(5000)) {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
}

QDBusConnection PrivateBus::connect()
{
    const QString name = m_address + QStringLiteral("#") + QString::number(m_connections.size());
    m_connections << name;
    return QDBusConnection::connectToBus(m_address, name);
}
