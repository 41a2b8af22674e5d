#include "platform/linux/system/BluezBluetooth.h"

#include "core/Logging.h"
#include "platform/linux/dbus/DBusAsync.h"

#include <QDBusMessage>

namespace {

QString deviceInterface()
{
    return QStringLiteral("org.bluez.Device1");
}

// BlueZ answers Connect only once the link is up or has failed, and paging a device out of range takes many
// seconds: far longer than a question about the devices.
constexpr std::chrono::seconds kConnectionReplyTimeout{30};

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
    const QDBusMessage reply =
        m_bus.get().call(BluezDevices::listRequest(), QDBus::Block, static_cast<int>(m_timeout.count()));
    // A machine without Bluetooth has no BlueZ on its bus: that is no news worth a line.
    if (reply.type() != QDBusMessage::ReplyMessage) {
        if (reply.errorName() != u"org.freedesktop.DBus.Error.ServiceUnknown")
            qCWarning(lcPlatform).noquote()
                << "Marquetto: BlueZ did not list its devices:" << reply.errorName() << reply.errorMessage();
        return {};
    }
    std::optional<std::vector<PairedDevice>> devices = BluezDevices::paired(reply);
    if (!devices) {
        qCWarning(lcPlatform).noquote()
            << "Marquetto: unexpected device list from BlueZ:" << reply.signature();
        return {};
    }
    return std::move(*devices);
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
    DBusAsync::call(
        m_bus.get(),
        QDBusMessage::createMethodCall(QStringLiteral("org.bluez"), paired->path, deviceInterface(), method),
        kConnectionReplyTimeout);
}
