#pragma once

#include "platform/Bluetooth.h"

#include <QDBusMessage>
#include <optional>
#include <vector>

// BlueZ's list of devices: the request and what its reply says.
namespace BluezDevices {

struct Paired {
    QString path; // the device's object path
    Bluetooth::Device device;
    bool connected = false;
};

// GetManagedObjects of the object manager at BlueZ's root.
[[nodiscard]] QDBusMessage listRequest();

// The paired devices of a successful reply, in the order of their object paths; nothing when the reply
// is not an object list.
[[nodiscard]] std::optional<std::vector<Paired>> paired(const QDBusMessage& reply);

} // namespace BluezDevices
