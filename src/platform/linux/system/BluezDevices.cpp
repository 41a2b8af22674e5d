#include "platform/linux/system/BluezDevices.h"

#include <QDBusArgument>
#include <QDBusObjectPath>

namespace {

using Properties = QVariantMap;
using Interfaces = QMap<QString, Properties>;
using ManagedObjects = QMap<QDBusObjectPath, Interfaces>;

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

QDBusMessage BluezDevices::listRequest()
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.bluez"), QStringLiteral("/"),
                                          QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                                          QStringLiteral("GetManagedObjects"));
}

std::optional<std::vector<BluezDevices::Paired>> BluezDevices::paired(const QDBusMessage& reply)
{
    if (reply.signature() != u"a{oa{sa{sv}}}")
        return std::nullopt;
    // The map sorts the objects by path, which gives the devices a stable order.
    const auto objects = qdbus_cast<ManagedObjects>(reply.arguments().constFirst());
    std::vector<Paired> devices;
    for (auto object = objects.cbegin(); object != objects.cend(); ++object) {
        const auto device = object->constFind(QStringLiteral("org.bluez.Device1"));
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
