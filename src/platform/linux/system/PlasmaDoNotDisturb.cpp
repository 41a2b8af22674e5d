#include "platform/linux/system/PlasmaDoNotDisturb.h"

#include "core/BackgroundQueue.h"
#include "core/Logging.h"
#include "platform/linux/dbus/DBusAsync.h"

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
    if (on) {
        QDBusMessage inhibit = notificationsCall(QStringLiteral("Inhibit"));
        inhibit << QStringLiteral("marquetto") << QStringLiteral("Do Not Disturb") << QVariantMap();
        m_cookie = 0;
        send(inhibit, [this, request = ++m_request](uint cookie) {
            if (request == m_request && m_cookie == 0u)
                m_cookie = cookie;
            else
                giveBack(cookie);
        });
        return true;
    }
    if (!m_cookie) {
        qCInfo(lcPlatform) << "Marquetto: Do Not Disturb was turned on elsewhere; switch it off where it was "
                              "switched on";
        return false;
    }
    // An inhibition still on its way is given back when its answer comes.
    if (const uint cookie = *std::exchange(m_cookie, std::nullopt); cookie != 0)
        giveBack(cookie);
    return true;
}

void PlasmaDoNotDisturb::giveBack(uint cookie)
{
    QDBusMessage unInhibit = notificationsCall(QStringLiteral("UnInhibit"));
    unInhibit << cookie;
    send(unInhibit);
}

void PlasmaDoNotDisturb::send(const QDBusMessage& call, std::function<void(uint cookie)> granted)
{
    BackgroundQueue::run([session = m_session, call, timeout = m_timeout, self = QPointer(this),
                          granted = std::move(granted)] {
        DBusAsync::call(session.get(), call, timeout, [self, granted](const QDBusMessage& reply) {
            if (!self || !granted || reply.arguments().isEmpty())
                return;
            bool isNumber = false;
            const uint cookie = reply.arguments().constFirst().toUInt(&isNumber);
            if (isNumber)
                granted(cookie);
        });
    });
}
