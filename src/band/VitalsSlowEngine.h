#pragma once

#include "core/Poller.h"
#include "platform/SystemStatus.h"
#include "platform/Trash.h"

#include <QObject>
#include <QString>
#include <chrono>
#include <optional>

// Battery, Wi-Fi, free space of the home folder's file system, items in the Trash and the local IPv4
// address, sampled every 15 seconds while started.
//
// Main thread only; every signal fires on the main thread when a sample changes its figures. Battery and
// Wi-Fi arrive when their services answer; disk space, the Trash count and the address are worked out on the
// background queue and published together. A figure that cannot be read takes its fallback: no battery,
// Wi-Fi not connected, 0 bytes free, no address. The Trash is counted only while `countsTrash` is on
// (otherwise its count is 0), and a sample does not start a second background job while one still runs, so a
// slow disk or a huge Trash delays the figures but never piles up work.
class VitalsSlowEngine final : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds interval{15000};

    // `status` and `trash` must outlive every background job the engine started (the process's platform
    // services do). `home` is the folder whose file system's free space is shown.
    VitalsSlowEngine(SystemStatus& status, const Trash& trash, QString home, QObject* parent = nullptr);

    // Samples at once and then on every tick; does nothing while already started.
    void start();
    // Stops sampling; the figures stay.
    void stop();
    [[nodiscard]] bool isRunning() const { return m_poller.isRunning(); }
    // What the timer does on each tick.
    void sample();

    // Whether samples count the Trash's items; the band sets it while the Trash module shows.
    void setCountsTrash(bool counts) { m_countsTrash = counts; }
    [[nodiscard]] bool countsTrash() const { return m_countsTrash; }

    [[nodiscard]] std::optional<int> batteryPercent() const { return m_battery.percent; }
    [[nodiscard]] bool batteryCharging() const { return m_battery.charging; }
    [[nodiscard]] qint64 driveFree() const { return m_driveFree; }
    [[nodiscard]] qint64 trashCount() const { return m_trashCount; }
    [[nodiscard]] const std::optional<QString>& localIP() const { return m_localIP; }
    [[nodiscard]] const std::optional<QString>& wifiSSID() const { return m_wifiSSID; }
    [[nodiscard]] bool wifiConnected() const { return m_wifiConnected; }

Q_SIGNALS:
    void batteryChanged();
    void wifiChanged();
    void driveFreeChanged(qint64 bytes);
    void trashCountChanged(qint64 items);
    void localIPChanged();

private:
    struct Disk {
        qint64 driveFree = 0;
        qint64 trashCount = 0;
        std::optional<QString> localIP;
    };

    void applyBattery(const SystemStatus::Battery& battery);
    void applyWifi(const SystemStatus::Wifi& wifi);
    void applyDisk(const Disk& disk);

    SystemStatus& m_status;
    const Trash& m_trash;
    QString m_home;
    Poller m_poller{interval, [this] { sample(); }};
    bool m_countsTrash = false;
    bool m_diskJobRunning = false;
    SystemStatus::Battery m_battery;
    qint64 m_driveFree = 0;
    qint64 m_trashCount = 0;
    std::optional<QString> m_localIP;
    std::optional<QString> m_wifiSSID;
    bool m_wifiConnected = false;
};
