#include "support/XfceSession.h"

#include "support/TestPrograms.h"
#include "support/X11Client.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {

const QString xfconfd = QStringLiteral("/usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd");

} // namespace

XfceSession::XfceSession(QString home)
    : m_home(std::move(home))
{
}

XfceSession::~XfceSession()
{
    for (auto program = m_programs.rbegin(); program != m_programs.rend(); ++program)
        TestPrograms::stop(**program);
}

QStringList XfceSession::missingPrograms()
{
    QStringList missing = TestPrograms::missing(
        {QStringLiteral("xfwm4"), QStringLiteral("xfdesktop"), QStringLiteral("xfconf-query")});
    if (!QFile::exists(xfconfd))
        missing << QStringLiteral("xfconfd");
    return missing;
}

bool XfceSession::start()
{
    if (!startProgram(xfconfd, {}))
        return false;
    QDeadlineTimer deadline(std::chrono::seconds(10));
    while (!xfconfQuery({QStringLiteral("-c"), QStringLiteral("xfwm4"), QStringLiteral("-l")})) {
        if (deadline.hasExpired())
            return fail(QStringLiteral("xfconfd never answered"));
        QThread::msleep(50);
    }
    if (!startProgram(QStringLiteral("xfwm4"), {QStringLiteral("--compositor=off")}))
        return false;
    X11Client client;
    deadline = QDeadlineTimer(std::chrono::seconds(10));
    while (client.get(client.root(), "_NET_SUPPORTING_WM_CHECK").empty()) {
        if (deadline.hasExpired())
            return fail(QStringLiteral("xfwm4 never managed the screen"));
        QThread::msleep(50);
    }
    return startProgram(QStringLiteral("xfdesktop"), {});
}

bool XfceSession::startPanel(QDBusConnection bus)
{
    QFile settings(m_home + QStringLiteral("/.config/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml"));
    if (!QDir().mkpath(QFileInfo(settings).path()) || !settings.open(QIODevice::WriteOnly) ||
        settings.write(R"(<?xml version="1.0"?><channel name="xfce4-panel" version="1.0">
<property name="configver" type="int" value="2"/>
<property name="panels" type="array"><value type="int" value="1"/>
<property name="panel-1" type="empty">
<property name="position" type="string" value="p=6;x=0;y=0"/><property name="length" type="uint" value="100"/>
<property name="size" type="uint" value="32"/>
<property name="plugin-ids" type="array"><value type="int" value="1"/></property></property></property>
<property name="plugins" type="empty"><property name="plugin-1" type="string" value="systray"/></property>
</channel>)") < 0)
        return fail(QStringLiteral("could not write the panel's settings"));
    settings.close();
    return TestPrograms::startService(*m_programs.emplace_back(std::make_unique<QProcess>()), m_home,
                                      QStringLiteral("xfce4-panel"), {}, bus,
                                      QStringLiteral("org.kde.StatusNotifierWatcher"), m_error);
}

bool XfceSession::setWallpaper(const QString& monitor, int workspace, const QString& picture) const
{
    return xfconfQuery(
        {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"), QStringLiteral("-p"),
         QStringLiteral("/backdrop/screen0/%1/workspace%2/last-image").arg(monitor).arg(workspace),
         QStringLiteral("-n"), QStringLiteral("-t"), QStringLiteral("string"), QStringLiteral("-s"),
         picture});
}

bool XfceSession::startProgram(const QString& program, const QStringList& arguments)
{
    auto& process = m_programs.emplace_back(std::make_unique<QProcess>());
    return TestPrograms::start(*process, m_home, program, arguments) ||
           fail(program + QStringLiteral(" did not start"));
}

bool XfceSession::xfconfQuery(const QStringList& arguments) const
{
    return TestPrograms::run(m_home, QStringLiteral("xfconf-query"), arguments).has_value();
}

bool XfceSession::fail(const QString& why)
{
    m_error = why;
    return false;
}
