#include "platform/linux/system/BluezConnections.h"

#include "core/BackgroundQueue.h"
#include "core/Logging.h"
#include "platform/linux/dbus/DBusAsync.h"
#include "platform/linux/system/BluezDevices.h"

namespace {

void logOnce(QString& last, const QString& problem)
{
    if (problem == last)
        return;
    last = problem;
    if (!problem.isEmpty())
        qCWarning(lcPlatform).noquote()
            << "Marquetto: can't tell which Bluetooth devices are connected:" << problem;
}

QSet<QString> connectedAddresses(const QDBusMessage& reply, QString& lastProblem)
{
    // A machine without Bluetooth has no BlueZ on its bus: that is no news worth a line.
    if (reply.type() != QDBusMessage::ReplyMessage) {
        if (reply.errorName() != u"org.freedesktop.DBus.Error.ServiceUnknown")
            logOnce(lastProblem, reply.errorName() + u' ' + reply.errorMessage());
        return {};
    }
    const std::optional<std::vector<BluezDevices::Paired>> devices = BluezDevices::paired(reply);
    if (!devices) {
        logOnce(lastProblem, QStringLiteral("unexpected device list ") + reply.signature());
        return {};
    }
    logOnce(lastProblem, QString());
    QSet<QString> connected;
    for (const BluezDevices::Paired& paired : *devices) {
        if (paired.connected && !paired.device.address.isEmpty())
            connected.insert(paired.device.address.toLower());
    }
    return connected;
}

} // namespace

BluezConnections::BluezConnections(LazyDBusConnection bus, std::chrono::milliseconds timeout)
    : m_bus(std::move(bus))
    , m_timeout(timeout)
{
}

void BluezConnections::read(std::function<void(QSet<QString>)> answer)
{
    // The first read connects to the bus, which is not done on the main thread.
    BackgroundQueue::run([bus = m_bus, timeout = m_timeout, lastProblem = m_lastProblem,
                          answer = std::move(answer)]() mutable {
        DBusAsync::ask(bus.get(), BluezDevices::listRequest(), timeout,
                       [lastProblem, answer = std::move(answer)](const QDBusMessage& reply) {
                           answer(connectedAddresses(reply, *lastProblem));
                       });
    });
}
