#include "support/GnomeSession.h"

#include "support/TestPrograms.h"
#include "support/XWaylandDisplay.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QThread>
#include <csignal>
#include <unistd.h>

namespace {

const QString remoteDesktop = QStringLiteral("org.gnome.Mutter.RemoteDesktop");
const QString remoteSession = QStringLiteral("org.gnome.Mutter.RemoteDesktop.Session");
// A shell that answers at all answers at once.
constexpr int callTimeout = 5000;

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
    stopShell();
    TestPrograms::stop(m_settings);
}

QStringList GnomeSession::missingPrograms()
{
    return TestPrograms::missing(
        {QStringLiteral("gnome-shell"), QStringLiteral("Xwayland"), QStringLiteral("xdotool")});
}

bool GnomeSession::startSettings(QDBusConnection bus)
{
    return TestPrograms::startService(m_settings, m_home, QStringLiteral("/usr/libexec/dconf-service"), {},
                                      bus, QStringLiteral("ca.desrt.dconf"), m_error);
}

bool GnomeSession::start(QDBusConnection bus)
{
    if (!prepareXSocketFolder())
        return fail(QStringLiteral("no shared folder for X sockets"));
    if (m_settings.state() == QProcess::NotRunning && !startSettings(bus))
        return false;
    // GNOME Shell 43 runs a script of its own in the child of a fork when its XWayland comes up, and under
    // load that child may deadlock before it runs anything: the shell waits on it for ever. Such a shell is
    // put down and another one started.
    constexpr int attempts = 3;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        if (startShell())
            return leaveOverview(bus, QDeadlineTimer(std::chrono::seconds(30)));
        stopShell();
    }
    return false;
}

bool GnomeSession::startShell()
{
    // The shell is the display server: it inherits none.
    m_environment.unset("DISPLAY");
    m_environment.unset("WAYLAND_DISPLAY");
    // In a process group of its own, so that a child it forked goes with it.
    m_shell.setChildProcessModifier([] { ::setpgid(0, 0); });
    if (!TestPrograms::start(m_shell, m_home, QStringLiteral("gnome-shell"),
                             {QStringLiteral("--headless"), QStringLiteral("--wayland"),
                              QStringLiteral("--virtual-monitor"), QStringLiteral("1440x900")}))
        return fail(QStringLiteral("gnome-shell did not start"));

    const QDeadlineTimer deadline(std::chrono::seconds(20));
    const std::optional<XWaylandDisplay> xwayland = waitForXWayland(m_shell, deadline, m_error);
    if (!xwayland)
        return false;
    m_environment.set("DISPLAY", xwayland->display);
    m_environment.set("XAUTHORITY", xwayland->authority);
    m_environment.set("WAYLAND_DISPLAY", "wayland-0");
    m_environment.set("XDG_SESSION_TYPE", "wayland");
    m_environment.set("XDG_CURRENT_DESKTOP", "GNOME");
    return waitForXClients(m_home, deadline, m_error);
}

void GnomeSession::stopShell()
{
    const auto group = static_cast<pid_t>(m_shell.processId());
    TestPrograms::stop(m_shell);
    if (group > 0)
        ::kill(-group, SIGKILL);
}

bool GnomeSession::leaveOverview(QDBusConnection& bus, const QDeadlineTimer& deadline)
{
    // A shell that starts with no window open shows its overview, where it shows no deck either; a user
    // leaves it with Escape.
    const auto overviewActive = [&bus] {
        QDBusMessage get = QDBusMessage::createMethodCall(
            QStringLiteral("org.gnome.Shell"), QStringLiteral("/org/gnome/Shell"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << QStringLiteral("org.gnome.Shell") << QStringLiteral("OverviewActive");
        const QDBusMessage reply = bus.call(get, QDBus::Block, callTimeout);
        return reply.type() != QDBusMessage::ReplyMessage ||
               reply.arguments().value(0).value<QDBusVariant>().variant().toBool();
    };
    constexpr quint32 escape = 1;
    while (overviewActive()) {
        if (deadline.hasExpired())
            return fail(QStringLiteral("the shell never left its overview"));
        if (!pressKeys(bus, {escape}))
            return false;
        QThread::msleep(200);
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
    return TestPrograms::startService(*m_portal.emplace_back(std::make_unique<QProcess>()), m_home, program,
                                      {}, bus, name, m_error);
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
                                       remoteDesktop, QStringLiteral("CreateSession")),
        QDBus::Block, callTimeout);
    if (created.type() != QDBusMessage::ReplyMessage || created.arguments().isEmpty())
        return fail(QStringLiteral("no remote desktop session: ") + created.errorMessage());
    // The session lives as long as the connection that made it, or until it is stopped.
    const QString session = created.arguments().constFirst().value<QDBusObjectPath>().path();
    const auto call = [&](const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(remoteDesktop, session, remoteSession, method);
        message.setArguments(arguments);
        return bus.call(message, QDBus::Block, callTimeout).type() == QDBusMessage::ReplyMessage;
    };
    bool pressed = call(QStringLiteral("Start"));
    for (const quint32 code : codes)
        pressed = pressed && call(QStringLiteral("NotifyKeyboardKeycode"), {code, true});
    for (auto code = codes.rbegin(); code != codes.rend(); ++code)
        pressed = call(QStringLiteral("NotifyKeyboardKeycode"), {*code, false}) && pressed;
    call(QStringLiteral("Stop"));
    return pressed || fail(QStringLiteral("Mutter took no keys"));
}

bool GnomeSession::screenshot(QDBusConnection bus, const QString& pngPath)
{
    // The shell takes screenshots only for the programs it trusts, known by the names they own on the bus.
    const QString trusted = QStringLiteral("org.gnome.Screenshot");
    if (!bus.registerService(trusted))
        return fail(QStringLiteral("could not own %1 on the bus").arg(trusted));
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.gnome.Shell.Screenshot"), QStringLiteral("/org/gnome/Shell/Screenshot"),
        QStringLiteral("org.gnome.Shell.Screenshot"), QStringLiteral("Screenshot"));
    call << false << false << pngPath;
    const QDBusMessage reply = bus.call(call);
    bus.unregisterService(trusted);
    if (reply.type() != QDBusMessage::ReplyMessage || !reply.arguments().value(0).toBool())
        return fail(QStringLiteral("the shell took no screenshot: ") + reply.errorMessage());
    return true;
}

bool GnomeSession::fail(const QString& why)
{
    m_error = why;
    return false;
}
