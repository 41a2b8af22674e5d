#pragma once

#include "platform/Bluetooth.h"

#include <vector>

// The paired Bluetooth devices as the editor offers them, and the toggle a Bluetooth tile runs.
class BluetoothConnector {
public:
    using Device = Bluetooth::Device;

    explicit BluetoothConnector(Bluetooth& bluetooth)
        : m_bluetooth(bluetooth)
    {
    }

    // Devices with an address, by name; a device without a name is listed under its address. May block.
    [[nodiscard]] std::vector<Device> pairedDevices() const;

    // Connects the device when it is not connected and disconnects it when it is, reading its state afresh
    // each time. Returns at once; the work runs in the background.
    void toggle(const QString& address);

private:
    Bluetooth& m_bluetooth;
};
