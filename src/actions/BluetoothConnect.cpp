#include "BluetoothConnect.h"

#include "core/BackgroundQueue.h"
#include "core/DeviceOrder.h"

std::vector<BluetoothConnector::Device> BluetoothConnector::pairedDevices() const
{
    std::vector<Device> devices;
    for (const Device& device : m_bluetooth.pairedDevices()) {
        if (device.address.isEmpty())
            continue;
        devices.push_back({device.address, device.name.isEmpty() ? device.address : device.name});
    }
    sortByName(devices);
    return devices;
}

void BluetoothConnector::toggle(const QString& address)
{
    BackgroundQueue::run([&bluetooth = m_bluetooth, address] {
        const std::optional<bool> connected = bluetooth.isConnected(address);
        if (!connected)
            return;
        if (*connected)
            bluetooth.disconnect(address);
        else
            bluetooth.connect(address);
    });
}
