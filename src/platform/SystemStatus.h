#pragma once

#include <QString>
#include <functional>
#include <optional>

// The slower-moving state of the machine: power, Wi-Fi, free disk space and the local address.
//
// `readBattery` and `readWifi` return at once and call their `answer` exactly once, on the main thread
// (possibly before they return); a missing service answers as "none". `freeBytes` and `localIPv4` may block
// on the disk or the kernel: call them off the main thread, from any thread.
class SystemStatus {
public:
    struct Battery {
        std::optional<int> percent; // 0 … 100; nothing without a battery
        bool charging = false;
        bool operator==(const Battery&) const = default;
    };
    struct Wifi {
        std::optional<QString> ssid; // the network's name, safe to draw; nothing when unknown
        int strength = 0;            // 1 … 100 while associated, 0 when not or not known
        bool operator==(const Wifi&) const = default;
    };

    virtual ~SystemStatus() = default;

    virtual void readBattery(std::function<void(Battery)> answer) = 0;
    virtual void readWifi(std::function<void(Wifi)> answer) = 0;
    // Bytes the user may still write on the file system holding `folder`; nothing when it cannot be told.
    [[nodiscard]] virtual std::optional<qint64> freeBytes(const QString& folder) const = 0;
    // The dotted IPv4 address of the first up, non-loopback network interface that has one.
    [[nodiscard]] virtual std::optional<QString> localIPv4() const = 0;
};

// A machine whose state is out of reach: no battery, no Wi-Fi, no figures.
class NullSystemStatus final : public SystemStatus {
public:
    void readBattery(std::function<void(Battery)> answer) override { answer({}); }
    void readWifi(std::function<void(Wifi)> answer) override { answer({}); }
    [[nodiscard]] std::optional<qint64> freeBytes(const QString&) const override { return std::nullopt; }
    [[nodiscard]] std::optional<QString> localIPv4() const override { return std::nullopt; }
};
