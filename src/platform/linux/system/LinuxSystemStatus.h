#pragma once

#include "platform/SystemStatus.h"
#include "platform/linux/system/NetworkManagerWifi.h"
#include "platform/linux/system/UPowerBattery.h"

// The machine's state on Linux: the battery from UPower and the Wi-Fi network from NetworkManager, both on
// the system bus; free space from the file system; the address from the kernel's interface list.
class LinuxSystemStatus final : public SystemStatus {
public:
    LinuxSystemStatus(LazyDBusConnection systemBus, std::chrono::milliseconds timeout);

    void readBattery(std::function<void(Battery)> answer) override;
    void readWifi(std::function<void(Wifi)> answer) override;
    [[nodiscard]] std::optional<qint64> freeBytes(const QString& folder) const override;
    [[nodiscard]] std::optional<QString> localIPv4() const override;

private:
    UPowerBattery m_battery;
    NetworkManagerWifi m_wifi;
};
