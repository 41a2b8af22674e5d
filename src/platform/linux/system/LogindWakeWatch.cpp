#include "platform/linux/system/LogindWakeWatch.h"

#include "core/Logging.h"

LogindWakeWatch::LogindWakeWatch(LazyDBusConnection system, QObject* parent)
    : WakeWatch(parent)
    , m_system(std::move(system))
{
}

void LogindWakeWatch::start()
{
    if (m_started)
        return;
    m_started = true;
    QDBusConnection bus = m_system.get();
    const bool connected =
        bus.isConnected() &&
        bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                    QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                    SLOT(prepareForSleep(bool)));
    if (!connected)
        qCWarning(lcPlatform).noquote()
            << "Marquetto: no logind on the system bus; wakes from sleep go unnoticed";
}

void LogindWakeWatch::prepareForSleep(bool sleeping)
{
    if (!sleeping)
        Q_EMIT woke();
}
