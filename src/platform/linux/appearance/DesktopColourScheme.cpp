#include "platform/linux/appearance/DesktopColourScheme.h"

#include "core/BackgroundQueue.h"
#include "core/MainThread.h"
#include "platform/linux/dbus/DBusAsync.h"

#include <QDBusArgument>
#include <QDBusVariant>
#include <QPointer>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearance = QStringLiteral("org.freedesktop.appearance");
const QString colourScheme = QStringLiteral("color-scheme");

QVariant unwrapped(QVariant value)
{
    while (value.typeId() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

std::optional<bool> prefersDark(const QVariant& value)
{
    const QVariant plain = unwrapped(value);
    bool isNumber = false;
    const uint scheme = plain.toUInt(&isNumber);
    return isNumber ? std::optional(scheme == 1) : std::nullopt;
}

} // namespace

DesktopColourScheme::DesktopColourScheme(LazyDBusConnection session, ProcessRunner& runner, QString gsettings,
                                         std::chrono::milliseconds timeout, QObject* parent)
    : QObject(parent)
    , m_session(std::move(session))
    , m_runner(runner)
    , m_gsettings(std::move(gsettings))
    , m_timeout(timeout)
{
    m_monitor.setStandardInputFile(QProcess::nullDevice());
    m_monitor.setStandardErrorFile(QProcess::nullDevice());
    // Every line is a new value: "color-scheme: 'prefer-dark'".
    connect(&m_monitor, &QProcess::readyReadStandardOutput, this, [this] {
        bool told = false;
        while (m_monitor.canReadLine())
            told = !m_monitor.readLine().trimmed().isEmpty() || told;
        if (told)
            Q_EMIT changed();
    });
}

DesktopColourScheme::~DesktopColourScheme()
{
    m_monitor.disconnect(this);
    if (m_monitor.state() != QProcess::NotRunning) {
        m_monitor.kill();
        m_monitor.waitForFinished();
    }
}

void DesktopColourScheme::read(std::function<void(bool)> answer)
{
    if (m_noPortal) {
        readGnomeSetting(std::move(answer));
        return;
    }
    // The first read connects to the bus, which is not done on the main thread.
    BackgroundQueue::run([self = QPointer(this), session = m_session, timeout = m_timeout,
                          answer = std::move(answer)]() mutable {
        const QDBusConnection& bus = session.get();
        QDBusMessage request = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface,
                                                              QStringLiteral("Read"));
        request << appearance << colourScheme;
        DBusAsync::ask(bus, request, timeout,
                       [self, bus, answer = std::move(answer)](const QDBusMessage& reply) {
                           if (!self) {
                               answer(false);
                               return;
                           }
                           self->listen(bus);
                           if (const std::optional<bool> dark = portalPrefersDark(reply)) {
                               answer(*dark);
                               return;
                           }
                           // A portal that does not know the setting, or no portal at all: ask GNOME from now
                           // on.
                           self->m_noPortal = true;
                           self->readGnomeSetting(answer);
                       });
    });
}

std::optional<bool> DesktopColourScheme::portalPrefersDark(const QDBusMessage& reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    return prefersDark(reply.arguments().constFirst());
}

void DesktopColourScheme::settingChanged(const QString& group, const QString& key, const QDBusVariant& value)
{
    if (group == appearance && key == colourScheme && prefersDark(value.variant()))
        Q_EMIT changed();
}

void DesktopColourScheme::readGnomeSetting(std::function<void(bool)> answer)
{
    if (m_gsettings.isEmpty()) {
        MainThread::answerLater(this, std::move(answer), false);
        return;
    }
    monitorGnomeSetting();
    BackgroundQueue::run([&runner = m_runner, gsettings = m_gsettings, answer = std::move(answer)] {
        const std::optional<QString> scheme = runner.capture(
            gsettings, {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"), colourScheme});
        const bool dark = scheme && scheme->trimmed() == u"'prefer-dark'";
        MainThread::post([answer, dark] { answer(dark); });
    });
}

void DesktopColourScheme::listen(const QDBusConnection& bus)
{
    if (m_listening)
        return;
    m_listening = true;
    // Without a service name Qt adds the match rule without first asking the bus who owns the portal.
    QDBusConnection(bus).connect(QString(), portalPath, settingsInterface, QStringLiteral("SettingChanged"),
                                 this, SLOT(settingChanged(QString, QString, QDBusVariant)));
}

void DesktopColourScheme::monitorGnomeSetting()
{
    // A monitor that ended (dconf went away) is started again by the next read.
    if (m_monitor.state() != QProcess::NotRunning)
        return;
    m_monitor.start(m_gsettings,
                    {QStringLiteral("monitor"), QStringLiteral("org.gnome.desktop.interface"), colourScheme},
                    QIODevice::ReadOnly);
}
