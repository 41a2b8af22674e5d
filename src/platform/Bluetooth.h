#pragma once

#include <QString>
#include <optional>
#include <vector>

// The Bluetooth stack's paired devices.
//
// Calls may block while the stack answers (the implementation gives up after a short timeout); call them
// off the main thread where a wait matters. Connecting and disconnecting only start the change.
class Bluetooth {
public:
    struct Device {
        QString address; // "AA:BB:CC:DD:EE:FF"; empty when the stack gives none
        QString name;    // empty when the device has none
        bool operator==(const Device&) const = default;
    };

    virtual ~Bluetooth() = default;

    // Paired devices in the stack's order; empty without a Bluetooth service.
    [[nodiscard]] virtual std::vector<Device> pairedDevices() const = 0;
    // Whether the device with this address is connected, or nothing when there is no such device.
    [[nodiscard]] virtual std::optional<bool> isConnected(const QString& address) const = 0;
    virtual void connect(const QString& address) = 0;
    virtual void disconnect(const QString& address) = 0;
};

// A machine without a Bluetooth service.
class NullBluetooth final : public Bluetooth {
public:
    [[nodiscard]] std::vector<Device> pairedDevices() const override { return {}; }
    [[nodiscard]] std::optional<bool> isConnected(const QString&) const override { return std::nullopt; }
    void connect(const QString&) override {}
    void disconnect(const QString&) override {}
};
