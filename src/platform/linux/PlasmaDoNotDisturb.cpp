#include "platform/linux/PlasmaDoNotDisturb.h"

#include "core/BackgroundQueue.h"
#include "core/Logging.h"
#include "platform/linux/DBusAsync.h"

#include <QDBusVariant>
#include <QPointer>

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");

QDBusMessage notificationsCall(const QString& method)
{
    return QDBusMessage::createMethodCall(service, path, service, method);
}

} // namespace

PlasmaDoNotDisturb::PlasmaDoNotDisturb(LazyDBusConnection session, std::chrono::milliseconds timeout,
                                       QObject* parent)
    : DoNotDisturb(parent)
    , m_session(std::move(session))
    , m_timeout(timeout)
{
}

void PlasmaDoNotDisturb::read(QObject* context, std::function<void(Reading)> done)
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << service << QStringLiteral("Inhibited");
    // The first call connects to the bus, which is not done on the main thread.
    BackgroundQueue::run(
        [session = m_session, get, timeout = m_timeout, guard = QPointer(context), done = std::move(done)] {
            DBusAsync::ask(session.get(), get, timeout, [guard, done](const QDBusMessage& reply) {
                if (!guard)
                    return;
                Reading reading;
                if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
                    const QVariant inhibited = reply.arguments().constFirst().value<QDBusVariant>().variant();
                    if (inhibited.typeId() == QMetaType::Bool)
                        reading.active = inhibited.toBool();
                }
                done(reading);
            });
        });
}

bool PlasmaDoNotDisturb::turn(bool on)
{
    QDBusMessage call;
    if (on) {
        call = notificationsCall(QStringLiteral("Inhibit"));
        call << QStringLiteral("marquetto") << QStringLiteral("Do Not Disturb") << QVariantMap();
        m_cookie = 0;
    } else if (m_cookie && *m_cookie != 0) {
        call = notificationsCall(QStringLiteral("UnInhibit"));
        call << *m_cookie;
        m_cookie.reset();
    } else {
        qCInfo(lcPlatform) << "Marquetto: Do Not Disturb was turned on elsewhere; switch it off where it was "
                              "switched on";
        return false;
    }
    BackgroundQueue::run([session = m_session, call, timeout = m_timeout, self = QPointer(this), on] {
        DBusAsync::call(session.get(), call, timeout, [self, on](const QDBusMessage& reply) {
            if (!self || !on || reply.arguments().isEmpty())
                return;
            bool isNumber = false;
            const uint cookie = reply.arguments().constFirst().toUInt(&isNumber);
            if (isNumber && self->m_cookie)
                self->m_cookie = cookie;
        });
    });
    return true;
}
