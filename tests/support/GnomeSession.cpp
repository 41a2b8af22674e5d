#include "support/GnomeSession.h"

#include "support/TestPrograms.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <sys/stat.h>
#include <xcb/xcb.h>

namespace {

const QString remoteDesktop = QStringLiteral("org.gnome.Mutter.RemoteDesktop");
const QString remoteSession = QStringLiteral("org.gnome.Mutter.RemoteDesktop.Session");

// The arguments of the XWayland server the shell `shell` started, empty until it runs.
QStringList xwaylandArguments(qint64 shell)
{
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "PID (COMMAND) STATE PPID …"
        const QByteArray line = stat.readAll();
        const qsizetype close = line.lastIndexOf(')');
        const QList<QByteArray> rest = line.mid(close + 2).split(' ');
        if (!line.contains("(Xwayland)") || rest.size() < 2 || rest[1].toLongLong() != shell)
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

bool takesClients(const QByteArray& display)
{
    xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
    const bool connected = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return connected;
}

} // namespace

GnomeSession::GnomeSession(QString home)
    : m_home(std::move(home))
{
}

GnomeSession::~GnomeSession()
{
    for (auto program = m_portal.rbegin(); program != m_portal.rend(); ++program)
        TestPrograms::stop(**program);
    TestPrograms::stop(m_mediaKeys);
    TestPrograms::stop(m_shell);
}

QStringList GnomeSession::missingPrograms()
{
    return TestPrograms::missing({QStringLiteral("gnome-shell"), QStringLiteral("Xwayland")});
}

QString GnomeSession::settingsFile() const
{
    return m_home + QStringLiteral("/.config/glib-2.0/settings/keyfile");
}

bool GnomeSession::start()
{
    // XWayland refuses to start without the shared folder of X sockets.
    const QString sockets = QStringLiteral("/tmp/.X11-unix");
    if (!QDir().mkpath(sockets) || ::chmod(sockets.toLocal8Bit().constData(), 01777) != 0)
        return fail(QStringLiteral("no shared folder for X sockets"));
    m_environment.set("GSETTINGS_BACKEND", "keyfile");
    // The shell is the display server: it inherits none.
    m_environment.unset("DISPLAY");
    m_environment.unset("WAYLAND_DISPLAY");
    if (!TestPrograms::start(m_shell, m_home, QStringLiteral("gnome-shell"),
                             {QStringLiteral("--headless"), QStringLiteral("--wayland"),
                              QStringLiteral("--virtual-monitor"), QStringLiteral("1440x900")}))
        return fail(QStringLiteral("gnome-shell did not start"));

    const QDeadlineTimer deadline(std::chrono::seconds(30));
    QStringList arguments;
    while ((arguments = xwaylandArguments(m_shell.processId())).size() < 2) {
        if (deadline.hasExpired() || m_shell.state() == QProcess::NotRunning)
            return fail(QStringLiteral("gnome-shell started no XWayland"));
        QThread::msleep(50);
    }
    const QByteArray display = arguments[1].toLocal8Bit();
    const qsizetype auth = arguments.indexOf(QStringLiteral("-auth"));
    if (!display.startsWith(':') || auth < 0 || auth + 1 >= arguments.size())
        return fail(QStringLiteral("XWayland started as ") + arguments.join(u' '));
    m_environment.set("DISPLAY", display);
    m_environment.set("XAUTHORITY", arguments[auth + 1].toLocal8Bit());
    m_environment.set("WAYLAND_DISPLAY", "wayland-0");
    m_environment.set("XDG_SESSION_TYPE", "wayland");
    m_environment.set("XDG_CURRENT_DESKTOP", "GNOME");
    while (!takesClients(display)) {
        if (deadline.hasExpired())
            return fail(
                QStringLiteral("XWayland on %1 takes no clients").arg(QString::fromLocal8Bit(display)));
        QThread::msleep(50);
    }
    return true;
}

bool GnomeSession::startMediaKeys()
{
    return TestPrograms::start(m_mediaKeys, m_home, QStringLiteral("/usr/libexec/gsd-media-keys")) ||
           fail(QStringLiteral("gsd-media-keys did not start"));
}

bool GnomeSession::startPortal(QDBusConnection bus)
{
    const QString libexec = QStringLiteral("/usr/libexec/");
    return startPortalProgram(libexec + QStringLiteral("xdg-permission-store"), bus,
                              QStringLiteral("org.freedesktop.impl.portal.PermissionStore")) &&
           startPortalProgram(libexec + QStringLiteral("xdg-desktop-portal-gnome"), bus,
                              QStringLiteral("org.freedesktop.impl.portal.desktop.gnome")) &&
           startPortalProgram(libexec + QStringLiteral("xdg-desktop-portal"), bus,
                              QStringLiteral("org.freedesktop.portal.Desktop"));
}

bool GnomeSession::startPortalProgram(const QString& program, QDBusConnection& bus, const QString& name)
{
    auto& process = m_portal.emplace_back(std::make_unique<QProcess>());
    if (!TestPrograms::start(*process, m_home, program))
        return fail(program + QStringLiteral(" did not start"));
    const QDeadlineTimer deadline(std::chrono::seconds(15));
    while (!bus.interface()->isServiceRegistered(name)) {
        if (deadline.hasExpired() || process->state() == QProcess::NotRunning)
            return fail(program + QStringLiteral(" never came on the bus as ") + name);
        QThread::msleep(50);
    }
    return true;
}

bool GnomeSession::set(const QString& schema, const QString& key, const QString& value) const
{
    return TestPrograms::run(m_home, QStringLiteral("gsettings"), {QStringLiteral("set"), schema, key, value})
        .has_value();
}

bool GnomeSession::pressKeys(QDBusConnection bus, const std::vector<quint32>& codes)
{
    const QDBusMessage created = bus.call(
        QDBusMessage::createMethodCall(remoteDesktop, QStringLiteral("/org/gnome/Mutter/RemoteDesktop"),
                                       remoteDesktop, QStringLiteral("CreateSession")));
    if (created.type() != QDBusMessage::ReplyMessage || created.arguments().isEmpty())
        return fail(QStringLiteral("no remote desktop session: ") + created.errorMessage());
    // The session lives as long as the connection that made it, or until it is stopped.
    const QString session = created.arguments().constFirst().value<QDBusObjectPath>().path();
    const auto call = [&](const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(remoteDesktop, session, remoteSession, method);
        message.setArguments(arguments);
        return bus.call(message).type() == QDBusMessage::ReplyMessage;
    };
    bool pressed = call(QStringLiteral("Start"));
    for (const quint32 code : codes)
        pressed = pressed && call(QStringLiteral("NotifyKeyboardKeycode"), {code, true});
    for (auto code = codes.rbegin(); code != codes.rend(); ++code)
        pressed = call(QStringLiteral("NotifyKeyboardKeycode"), {*code, false}) && pressed;
    call(QStringLiteral("Stop"));
    return pressed || fail(QStringLiteral("Mutter took no keys"));
}

bool GnomeSession::fail(const QString& why)
{
    m_error = why;
    return false;
}
