#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The real UPower daemon on the test's `PrivateSession` bus, which stands in for the system bus, seeing a
// laptop's power supplies that umockdev makes up in place of the kernel's: a battery at `percent`,
// discharging, and a mains adapter that is unplugged. The destructor stops it.
class UPowerDaemon final {
public:
    explicit UPowerDaemon(QString home);
    ~UPowerDaemon();
    UPowerDaemon(const UPowerDaemon&) = delete;
    UPowerDaemon& operator=(const UPowerDaemon&) = delete;

    // The programs it needs that cannot be found, by name; empty when it can start.
    [[nodiscard]] static QStringList missingPrograms();

    // Starts the daemon and waits until it answers on `bus`; false, with `error()` saying why, when it does
    // not.
    [[nodiscard]] bool start(QDBusConnection bus, int percent);
    [[nodiscard]] const QString& error() const { return m_error; }

private:
    QString m_home;
    QTemporaryDir m_devices;
    QProcess m_daemon;
    QString m_error;
};
