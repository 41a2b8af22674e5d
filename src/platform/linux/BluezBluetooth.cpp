#include "BluezBluetooth.h"

#include "core/Logging.h"
#include "platform/linux/DBusAsync.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>

namespace {

using Properties = QVariantMap;
using Interfaces = QMap<QString, Properties>;
using ManagedObjects = QMap<QDBusObjectPath, Interfaces>;

QString bluezService()
{
    return QStringLiteral("org.bluez");
}

QString deviceInterface()
{
    return QStringLiteral("org.bluez.Device1");
}

// BlueZ answers Connect only once the link is up or has failed, and paging a device out of range takes many
// seconds: far longer than a question about the devices.
constexpr std::chrono::seconds kConnectionReplyTimeout{30};

bool isTrue(const QVariant& value)
{
    return value.typeId() == QMetaType::Bool && value.toBool();
}

QString text(const Properties& properties, const QString& key)
{
    const QVariant value = properties.value(key);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

} // namespace

BluezBluetooth::BluezBluetooth(LazyDBusConnection bus, std::chrono::milliseconds timeout)
    : m_bus(std::move(bus))
    , m_timeout(timeout)
{
}

std::vector<Bluetooth::Device> BluezBluetooth::pairedDevices() const
{
    std::vector<Device> devices;
    for (const PairedDevice& candidate : listPaired())
        devices.push_back(candidate.device);
    return devices;
}

std::optional<bool> BluezBluetooth::isConnected(const QString& address) const
{
    const std::optional<PairedDevice> paired = find(address);
    return paired ? std::optional(paired->connected) : std::nullopt;
}

void BluezBluetooth::connect(const QString& address)
{
    callDevice(address, QStringLiteral("Connect"));
}

void BluezBluetooth::disconnect(const QString& address)
{
    callDevice(address, QStringLiteral("Disconnect"));
}

std::vector<BluezBluetooth::PairedDevice> BluezBluetooth::listPaired() const
{
    if (!m_bus.get().isConnected()) {
        std::call_once(m_missingReported, [this] {
            qCWarning(lcPlatform).noquote()
                << "Marquetto: no D-Bus connection for Bluetooth:" << m_bus.get().lastError().message();
        });
        return {};
    }
    const QDBusMessage request = QDBusMessage::createMethodCall(
        bluezService(), QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.ObjectManager"),
        QStringLiteral("GetManagedObjects"));
    const QDBusMessage reply = m_bus.get().call(request, QDBus::Block, static_cast<int>(m_timeout.count()));
    // A machine without Bluetooth has no BlueZ on its bus: that is no news worth a line.
    if (reply.type() != QDBusMessage::ReplyMessage) {
        if (reply.errorName() != u"org.freedesktop.DBus.Error.ServiceUnknown")
            qCWarning(lcPlatform).noquote()
                << "Marquetto: BlueZ did not list its devices:" << reply.errorName() << reply.errorMessage();
        return {};
    }
    if (reply.signature() != u"a{oa{sa{sv}}}") {
        qCWarning(lcPlatform).noquote()
            << "Marquetto: unexpected device list from BlueZ:" << reply.signature();
        return {};
    }
    // The map sorts the objects by path, which gives the devices a stable order.
    const auto objects = qdbus_cast<ManagedObjects>(reply.arguments().constFirst());
    std::vector<PairedDevice> devices;
    for (auto object = objects.cbegin(); object != objects.cend(); ++object) {
        const auto device = object->constFind(deviceInterface());
        if (device == object->cend() || !isTrue(device->value(QStringLiteral("Paired"))))
            continue;
        QString name = text(*device, QStringLiteral("Alias"));
        if (name.isEmpty())
            name = text(*device, QStringLiteral("Name"));
        devices.push_back({object.key().path(),
                           {text(*device, QStringLiteral("Address")), name},
                           isTrue(device->value(QStringLiteral("Connected")))});
    }
    return devices;
}

std::optional<BluezBluetooth::PairedDevice> BluezBluetooth::find(const QString& address) const
{
    for (PairedDevice& candidate : listPaired()) {
        if (candidate.device.address == address)
            return std::move(candidate);
    }
    return std::nullopt;
}

void BluezBluetooth::callDevice(const QString& address, const QString& method)
{
    const std::optional<PairedDevice> paired = find(address);
    if (!paired) {
        qCWarning(lcPlatform).noquote()
            << "Marquetto: no paired Bluetooth device" << address << "to" << method;
        return;
    }
    DBusAsync::call(m_bus.get(),
                    QDBusMessage::createMethodCall(bluezService(), paired->path, deviceInterface(), method),
                    kConnectionReplyTimeout);
}
