#pragma once

#include "platform/Bluetooth.h"
#include "platform/linux/dbus/LazyDBusConnection.h"
#include "platform/linux/system/BluezDevices.h"

#include <chrono>
#include <mutex>

// Paired devices from BlueZ, the Linux Bluetooth stack, over D-Bus. Devices come in the order of their
// object paths, since the stack's object list has no order of its own.
class BluezBluetooth final : public Bluetooth {
public:
    // `bus` is where BlueZ is found: the system bus, or a test's own. Every blocking call gives up after
    // `timeout`.
    explicit BluezBluetooth(LazyDBusConnection bus,
                            std::chrono::milliseconds timeout = std::chrono::seconds(2));

    [[nodiscard]] std::vector<Device> pairedDevices() const override;
    [[nodiscard]] std::optional<bool> isConnected(const QString& address) const override;
    void connect(const QString& address) override;
    void disconnect(const QString& address) override;

private:
    using PairedDevice = BluezDevices::Paired;

    [[nodiscard]] std::vector<PairedDevice> listPaired() const;
    [[nodiscard]] std::optional<PairedDevice> find(const QString& address) const;
    void callDevice(const QString& address, const QString& method);

    LazyDBusConnection m_bus;
    std::chrono::milliseconds m_timeout;
    mutable std::once_flag m_missingReported;
};
