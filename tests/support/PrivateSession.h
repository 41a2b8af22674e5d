#pragma once

#include "EnvironmentGuard.h"
#include "PrivateBus.h"

#include <QString>
#include <QTemporaryDir>

// A desktop session of the test's own for the programs it starts: its own D-Bus session bus (also standing in
// for the system bus), its own runtime folder, no Wayland display nor session type and no reachable sound
// server. The test's
// environment says so for as long as the session lives, so everything started meanwhile inherits it.
class PrivateSession final {
public:
    PrivateSession();
    PrivateSession(const PrivateSession&) = delete;
    PrivateSession& operator=(const PrivateSession&) = delete;

    // False, with `error()` saying why, when the bus or the runtime folder could not be made.
    [[nodiscard]] bool isReady() const { return m_error.isEmpty(); }
    [[nodiscard]] const QString& error() const { return m_error; }
    [[nodiscard]] QString runtimeDir() const { return m_runtime.path(); }
    // A new connection to the session's bus, for fakes of the desktop's services.
    [[nodiscard]] QDBusConnection connect() { return m_bus.connect(); }

private:
    PrivateBus m_bus;
    QTemporaryDir m_runtime;
    EnvironmentGuard m_environment;
    QString m_error;
};
