#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A D-Bus daemon of the test's own, where fakes of the system's services can be registered without touching
// the machine's buses. Not running when the dbus-daemon program is missing or fails to start.
class PrivateBus final {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    [[nodiscard]] bool isRunning() const { return !m_address.isEmpty(); }
    // The address clients connect to, as DBUS_SESSION_BUS_ADDRESS gives it.
    [[nodiscard]] const QString& address() const { return m_address; }
    // A new connection to the bus; all of them are closed before the daemon stops.
    [[nodiscard]] QDBusConnection connect();

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    QStringList m_connections;
};
