#include "VitalsSlowEngine.h"

#include "band/TrashCount.h"
#include "core/BackgroundQueue.h"

#include <QPointer>

VitalsSlowEngine::VitalsSlowEngine(SystemStatus& status, const Trash& trash, QString home, QObject* parent)
    : QObject(parent)
    , m_status(status)
    , m_trash(trash)
    , m_home(std::move(home))
{
}

void VitalsSlowEngine::start()
{
    m_poller.start();
}

void VitalsSlowEngine::stop()
{
    m_poller.stop();
}

void VitalsSlowEngine::sample()
{
    m_status.readBattery([self = QPointer(this)](const SystemStatus::Battery& battery) {
        if (self)
            self->applyBattery(battery);
    });
    m_status.readWifi([self = QPointer(this)](const SystemStatus::Wifi& wifi) {
        if (self)
            self->applyWifi(wifi);
    });
    if (m_diskJobRunning)
        return;
    m_diskJobRunning = true;
    BackgroundQueue::runThenReport<Disk>(
        this,
        [&status = m_status, &trash = m_trash, home = m_home, countsTrash = m_countsTrash] {
            Disk disk;
            disk.driveFree = status.freeBytes(home).value_or(0);
            if (countsTrash)
                disk.trashCount = TrashCount::of(trash.locations().folders).items;
            disk.localIP = status.localIPv4();
            return disk;
        },
        [this](const Disk& disk) { applyDisk(disk); });
}

void VitalsSlowEngine::applyBattery(const SystemStatus::Battery& battery)
{
    if (battery == m_battery)
        return;
    m_battery = battery;
    Q_EMIT batteryChanged();
}

void VitalsSlowEngine::applyWifi(const SystemStatus::Wifi& wifi)
{
    // A driver that reports no signal strength still shows as connected while it names its network.
    const bool connected = wifi.strength != 0 || wifi.ssid.has_value();
    if (wifi.ssid == m_wifiSSID && connected == m_wifiConnected)
        return;
    m_wifiSSID = wifi.ssid;
    m_wifiConnected = connected;
    Q_EMIT wifiChanged();
}

void VitalsSlowEngine::applyDisk(const Disk& disk)
{
    m_diskJobRunning = false;
    if (disk.driveFree != m_driveFree) {
        m_driveFree = disk.driveFree;
        Q_EMIT driveFreeChanged(m_driveFree);
    }
    if (disk.trashCount != m_trashCount) {
        m_trashCount = disk.trashCount;
        Q_EMIT trashCountChanged(m_trashCount);
    }
    if (disk.localIP != m_localIP) {
        m_localIP = disk.localIP;
        Q_EMIT localIPChanged();
    }
}
