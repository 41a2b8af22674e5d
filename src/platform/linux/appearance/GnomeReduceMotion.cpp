#include "platform/linux/appearance/GnomeReduceMotion.h"

#include "core/Logging.h"

#include <QDeadlineTimer>
#include <algorithm>

namespace {

const QString schema = QStringLiteral("org.gnome.desktop.interface");
const QString key = QStringLiteral("enable-animations");

} // namespace

GnomeReduceMotion::GnomeReduceMotion(const QString& gsettings, std::chrono::milliseconds timeout,
                                     QObject* parent)
    : ReduceMotion(parent)
{
    const QDeadlineTimer deadline(timeout);
    QProcess get;
    get.setStandardInputFile(QProcess::nullDevice());
    get.setStandardErrorFile(QProcess::nullDevice());
    get.start(gsettings, {QStringLiteral("get"), schema, key}, QIODevice::ReadOnly);
    if (!get.waitForStarted(static_cast<int>(deadline.remainingTime()))) {
        qCDebug(lcPlatform).noquote() << "Marquetto: couldn't start" << gsettings << get.errorString();
        return;
    }
    if (!get.waitForFinished(static_cast<int>(deadline.remainingTime()))) {
        qCWarning(lcPlatform).noquote() << "Marquetto:" << gsettings << "did not answer in time; stopped it";
        get.kill();
        get.waitForFinished();
    } else if (get.exitStatus() == QProcess::NormalExit && get.exitCode() == 0) {
        if (const std::optional<bool> enabled =
                parseEnableAnimations(QString::fromUtf8(get.readAllStandardOutput()).trimmed()))
            m_on = !*enabled;
    }

    m_monitor.setStandardInputFile(QProcess::nullDevice());
    m_monitor.setStandardErrorFile(QProcess::nullDevice());
    connect(&m_monitor, &QProcess::readyReadStandardOutput, this, &GnomeReduceMotion::readMonitor);
    m_monitor.start(gsettings, {QStringLiteral("monitor"), schema, key}, QIODevice::ReadOnly);
}

GnomeReduceMotion::~GnomeReduceMotion()
{
    m_monitor.disconnect(this);
    if (m_monitor.state() != QProcess::NotRunning) {
        m_monitor.kill();
        m_monitor.waitForFinished();
    }
}

std::optional<bool> GnomeReduceMotion::parseEnableAnimations(QStringView line)
{
    QStringView value = line.trimmed();
    const QString prefix = key + u':';
    if (value.startsWith(prefix))
        value = value.mid(prefix.size()).trimmed();
    if (value == u"true")
        return true;
    if (value == u"false")
        return false;
    return std::nullopt;
}

bool GnomeReduceMotion::isGnome(QStringView currentDesktop)
{
    const auto names = currentDesktop.split(u':');
    return std::any_of(names.begin(), names.end(), [](QStringView name) {
        return name.trimmed().compare(u"GNOME", Qt::CaseInsensitive) == 0;
    });
}

void GnomeReduceMotion::readMonitor()
{
    while (m_monitor.canReadLine()) {
        const QString line = QString::fromUtf8(m_monitor.readLine());
        if (const std::optional<bool> enabled = parseEnableAnimations(line))
            apply(*enabled);
    }
}

void GnomeReduceMotion::apply(bool enableAnimations)
{
    if (enableAnimations != m_on)
        return;
    m_on = !enableAnimations;
    Q_EMIT changed(m_on);
}
