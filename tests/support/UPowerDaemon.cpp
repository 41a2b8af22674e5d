#include "support/UPowerDaemon.h"

#include "support/TestPrograms.h"

#include <QFile>

namespace {

const QString upowerd = QStringLiteral("/usr/libexec/upowerd");

// The devices as umockdev records them from a real laptop's sysfs.
QByteArray supplies(int percent)
{
    const int full = 60'000'000;
    return QStringLiteral("P: /devices/LNXSYSTM:00/device:00/PNP0C0A:00/power_supply/BAT0\n"
                          "E: SUBSYSTEM=power_supply\n"
                          "E: POWER_SUPPLY_NAME=BAT0\n"
                          "A: type=Battery\n"
                          "A: present=1\n"
                          "A: status=Discharging\n"
                          "A: capacity=%1\n"
                          "A: energy_full=%2\n"
                          "A: energy_full_design=%2\n"
                          "A: energy_now=%3\n"
                          "A: power_now=10000000\n"
                          "A: voltage_now=12000000\n"
                          "A: technology=Li-ion\n"
                          "\n"
                          "P: /devices/LNXSYSTM:00/device:00/ACPI0003:00/power_supply/AC\n"
                          "E: SUBSYSTEM=power_supply\n"
                          "E: POWER_SUPPLY_NAME=AC\n"
                          "A: type=Mains\n"
                          "A: online=0\n")
        .arg(percent)
        .arg(full)
        .arg(qint64(full) * percent / 100)
        .toUtf8();
}

} // namespace

UPowerDaemon::UPowerDaemon(QString home)
    : m_home(std::move(home))
{
}

UPowerDaemon::~UPowerDaemon()
{
    TestPrograms::stop(m_daemon);
}

QStringList UPowerDaemon::missingPrograms()
{
    QStringList missing = TestPrograms::missing({QStringLiteral("umockdev-run")});
    if (!QFile::exists(upowerd))
        missing << QStringLiteral("upowerd");
    return missing;
}

bool UPowerDaemon::start(QDBusConnection bus, int percent)
{
    const QString devices = m_devices.filePath(QStringLiteral("laptop.umockdev"));
    QFile file(devices);
    if (!m_devices.isValid() || !file.open(QIODevice::WriteOnly) || file.write(supplies(percent)) < 0) {
        m_error = QStringLiteral("could not write the devices for umockdev");
        return false;
    }
    file.close();
    return TestPrograms::startService(m_daemon, m_home, QStringLiteral("umockdev-run"),
                                      {QStringLiteral("--device"), devices, QStringLiteral("--"), upowerd},
                                      bus, QStringLiteral("org.freedesktop.UPower"), m_error);
}
