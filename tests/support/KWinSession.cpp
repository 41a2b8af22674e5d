#include "support/KWinSession.h"

#include "support/TestPrograms.h"
#include "support/XWaylandDisplay.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <unistd.h>

namespace {

const QString kglobalaccel = QStringLiteral("org.kde.kglobalaccel");
const QString componentInterface = QStringLiteral("org.kde.kglobalaccel.Component");
const QString socketName = QStringLiteral("marquetto-kwin");

// Where Debian keeps the portal's backends: the multiarch libexec folder, which is on nobody's PATH.
QString portalBackend()
{
    for (const QString& folder :
         {QStringLiteral("/usr/lib/x86_64-linux-gnu/libexec"),
          QStringLiteral("/usr/lib/aarch64-linux-gnu/libexec"), QStringLiteral("/usr/libexec")}) {
        const QString program = folder + QStringLiteral("/xdg-desktop-portal-kde");
        if (QFile::exists(program))
            return program;
    }
    return {};
}

QDBusMessage call(QDBusConnection& bus, const QString& path, const QString& interface, const QString& method,
                  const QVariantList& arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(kglobalaccel, path, interface, method);
    message.setArguments(arguments);
    return bus.call(message);
}

// The paths of kglobalaccel's components for the program of `appId`.
QStringList componentsOf(QDBusConnection& bus, const QString& appId)
{
    const QDBusMessage all = call(bus, QStringLiteral("/kglobalaccel"),
                                  QStringLiteral("org.kde.KGlobalAccel"), QStringLiteral("allComponents"));
    QStringList found;
    for (const QDBusObjectPath& path : qdbus_cast<QList<QDBusObjectPath>>(all.arguments().value(0))) {
        const QDBusMessage name =
            call(bus, path.path(), QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                 {componentInterface, QStringLiteral("uniqueName")});
        if (name.arguments().value(0).value<QDBusVariant>().variant().toString().startsWith(appId))
            found << path.path();
    }
    return found;
}

QStringList shortcutNames(QDBusConnection& bus, const QString& component)
{
    return call(bus, component, componentInterface, QStringLiteral("shortcutNames"))
        .arguments()
        .value(0)
        .toStringList();
}

} // namespace

KWinSession::KWinSession(QString home)
    : m_home(std::move(home))
{
}

KWinSession::~KWinSession()
{
    for (auto program = m_portal.rbegin(); program != m_portal.rend(); ++program)
        TestPrograms::stop(**program);
    TestPrograms::stop(m_kwin);
}

QStringList KWinSession::missingPrograms()
{
    QStringList missing = TestPrograms::missing(
        {QStringLiteral("kwin_wayland"), QStringLiteral("Xwayland"), QStringLiteral("xdotool")});
    if (portalBackend().isEmpty())
        missing << QStringLiteral("xdg-desktop-portal-kde");
    return missing;
}

bool KWinSession::start()
{
    if (!prepareXSocketFolder())
        return fail(QStringLiteral("no shared folder for X sockets"));
    // The installed program carries a file capability that a container may refuse to grant; a copy carries
    // none. KWin loads its own platform plugin only for a program of its own name.
    const QString program = m_programs.filePath(QStringLiteral("kwin_wayland"));
    if (!m_programs.isValid() ||
        !QFile::copy(QStandardPaths::findExecutable(QStringLiteral("kwin_wayland")), program))
        return fail(QStringLiteral("could not copy kwin_wayland"));
    // The compositor is the display server: it inherits none.
    m_environment.unset("DISPLAY");
    m_environment.unset("WAYLAND_DISPLAY");
    QProcessEnvironment unchecked;
    // Only programs Plasma trusts may take screenshots; the test's own is one here.
    unchecked.insert(QStringLiteral("KWIN_SCREENSHOT_NO_PERMISSION_CHECKS"), QStringLiteral("1"));
    if (!TestPrograms::start(m_kwin, m_home, program,
                             {QStringLiteral("--virtual"), QStringLiteral("--xwayland"),
                              QStringLiteral("--width"), QStringLiteral("1440"), QStringLiteral("--height"),
                              QStringLiteral("900"), QStringLiteral("--socket"), socketName},
                             unchecked))
        return fail(QStringLiteral("kwin_wayland did not start"));

    const QDeadlineTimer deadline(std::chrono::seconds(30));
    const std::optional<XWaylandDisplay> xwayland = waitForXWayland(m_kwin, deadline, m_error);
    if (!xwayland)
        return false;
    m_environment.set("DISPLAY", xwayland->display);
    if (xwayland->authority.isEmpty())
        m_environment.unset("XAUTHORITY");
    else
        m_environment.set("XAUTHORITY", xwayland->authority);
    m_environment.set("WAYLAND_DISPLAY", socketName.toLocal8Bit());
    m_environment.set("XDG_SESSION_TYPE", "wayland");
    m_environment.set("XDG_CURRENT_DESKTOP", "KDE");
    return waitForXClients(m_home, deadline, m_error);
}

bool KWinSession::startPortal(QDBusConnection bus)
{
    // Plasma's backend speaks Wayland to KWin; a Qt program would otherwise take the X display.
    QProcessEnvironment onWayland;
    onWayland.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    return TestPrograms::startService(
               *m_portal.emplace_back(std::make_unique<QProcess>()), m_home, portalBackend(), {}, bus,
               QStringLiteral("org.freedesktop.impl.portal.desktop.kde"), m_error, onWayland) &&
           TestPrograms::startService(*m_portal.emplace_back(std::make_unique<QProcess>()), m_home,
                                      QStringLiteral("/usr/libexec/xdg-desktop-portal"), {}, bus,
                                      QStringLiteral("org.freedesktop.portal.Desktop"), m_error);
}

QStringList KWinSession::shortcutsOf(QDBusConnection bus, const QString& appId)
{
    QStringList names;
    for (const QString& component : componentsOf(bus, appId))
        names << shortcutNames(bus, component);
    return names;
}

bool KWinSession::invokeShortcut(QDBusConnection bus, const QString& appId, const QString& name)
{
    for (const QString& component : componentsOf(bus, appId)) {
        if (shortcutNames(bus, component).contains(name))
            return call(bus, component, componentInterface, QStringLiteral("invokeShortcut"),
                        {name, QStringLiteral("default")})
                       .type() == QDBusMessage::ReplyMessage;
    }
    return false;
}

bool KWinSession::screenshot(QDBusConnection bus, const QString& pngPath)
{
    int ends[2];
    if (::pipe(ends) != 0)
        return fail(QStringLiteral("no pipe for the screenshot"));
    QFile pixels;
    pixels.open(ends[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    const QDBusMessage reply = [&] {
        // The call holds a copy of the pipe's writing end until it goes; the pixels end only once none is
        // open.
        QDBusMessage capture = QDBusMessage::createMethodCall(
            QStringLiteral("org.kde.KWin"), QStringLiteral("/org/kde/KWin/ScreenShot2"),
            QStringLiteral("org.kde.KWin.ScreenShot2"), QStringLiteral("CaptureArea"));
        capture << 0 << 0 << 1440U << 900U << QVariantMap{}
                << QVariant::fromValue(QDBusUnixFileDescriptor(ends[1]));
        ::close(ends[1]);
        return bus.call(capture);
    }();
    if (reply.type() != QDBusMessage::ReplyMessage)
        return fail(QStringLiteral("KWin took no screenshot: ") + reply.errorMessage());
    // KWin writes the pixels after it answers, in the layout its answer gives.
    const auto layout = qdbus_cast<QVariantMap>(reply.arguments().value(0));
    const QByteArray data = pixels.readAll();
    const int width = layout.value(QStringLiteral("width")).toInt();
    const int height = layout.value(QStringLiteral("height")).toInt();
    const int stride = layout.value(QStringLiteral("stride")).toInt();
    const auto format = static_cast<QImage::Format>(layout.value(QStringLiteral("format")).toInt());
    if (width <= 0 || height <= 0 || data.size() < qsizetype(stride) * height)
        return fail(QStringLiteral("KWin's screenshot came short"));
    const QImage image(reinterpret_cast<const uchar*>(data.constData()), width, height, stride, format);
    return image.save(pngPath) || fail(QStringLiteral("could not write ") + pngPath);
}

bool KWinSession::fail(const QString& why)
{
    m_error = why;
    return false;
}
