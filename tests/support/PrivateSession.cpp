#include "PrivateSession.h"

#include <QFile>

PrivateSession::PrivateSession()
{
    if (!m_bus.isRunning()) {
        m_error = QStringLiteral("no private D-Bus daemon (is dbus-daemon installed?)");
        return;
    }
    // A runtime folder must be private to its user, as the session's own is.
    if (!m_runtime.isValid() ||
        !QFile::setPermissions(m_runtime.path(),
                               QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)) {
        m_error = QStringLiteral("no private runtime folder");
        return;
    }
    const QByteArray address = m_bus.address().toUtf8();
    m_environment.set("DBUS_SESSION_BUS_ADDRESS", address);
    m_environment.set("DBUS_SYSTEM_BUS_ADDRESS", address);
    m_environment.set("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
    m_environment.unset("WAYLAND_DISPLAY");
    m_environment.unset("WAYLAND_SOCKET");
    m_environment.unset("XDG_SESSION_TYPE");
    // A server named outright is never looked for elsewhere nor started on demand; nothing listens here.
    const QByteArray nowhere = m_runtime.filePath(QStringLiteral("no-sound-server")).toUtf8();
    m_environment.set("PULSE_SERVER", "unix:" + nowhere);
    m_environment.set("PIPEWIRE_REMOTE", nowhere);
    m_environment.unset("PIPEWIRE_RUNTIME_DIR");
    m_environment.unset("XDG_SESSION_ID");
}
