#include "platform/linux/system/UPowerBattery.h"

#include "core/BackgroundQueue.h"
#include "platform/linux/dbus/DBusAsync.h"
#include "platform/linux/system/ProblemLog.h"

#include <QDBusArgument>
#include <QVariantMap>
#include <cmath>

namespace {

// UPower's device states; only this one means power flows into the battery.
constexpr uint kCharging = 1;

QDBusMessage displayDeviceRequest()
{
    QDBusMessage request = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.UPower"),
        QStringLiteral("/org/freedesktop/UPower/devices/DisplayDevice"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("GetAll"));
    request << QStringLiteral("org.freedesktop.UPower.Device");
    return request;
}

} // namespace

UPowerBattery::UPowerBattery(LazyDBusConnection bus, std::chrono::milliseconds timeout)
    : m_bus(std::move(bus))
    , m_timeout(timeout)
{
}

void UPowerBattery::read(std::function<void(SystemStatus::Battery)> answer)
{
    // The first read connects to the bus, which is not done on the main thread.
    BackgroundQueue::run(
        [bus = m_bus, timeout = m_timeout, problems = m_problems, answer = std::move(answer)]() mutable {
            DBusAsync::ask(bus.get(), displayDeviceRequest(), timeout,
                           [problems, answer = std::move(answer)](const QDBusMessage& reply) {
                               // A machine without UPower simply has no battery to show.
                               if (reply.type() != QDBusMessage::ReplyMessage &&
                                   reply.errorName() != u"org.freedesktop.DBus.Error.ServiceUnknown")
                                   problems->report(reply.errorName() + u' ' + reply.errorMessage());
                               else
                                   problems->report(QString());
                               answer(fromReply(reply));
                           });
        });
}

SystemStatus::Battery UPowerBattery::fromReply(const QDBusMessage& reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != u"a{sv}")
        return {};
    const auto properties = qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    const QVariant present = properties.value(QStringLiteral("IsPresent"));
    const QVariant percentage = properties.value(QStringLiteral("Percentage"));
    if (!present.toBool() || percentage.typeId() != QMetaType::Double ||
        !std::isfinite(percentage.toDouble()))
        return {};
    const int percent = static_cast<int>(std::lround(std::clamp(percentage.toDouble(), 0.0, 100.0)));
    return {percent, properties.value(QStringLiteral("State")).toUInt() == kCharging};
}
