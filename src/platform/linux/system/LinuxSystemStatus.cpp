#include "platform/linux/system/LinuxSystemStatus.h"

#include "core/Logging.h"
#include "platform/linux/system/LocalAddress.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <limits>
#include <sys/statvfs.h>

LinuxSystemStatus::LinuxSystemStatus(LazyDBusConnection systemBus, std::chrono::milliseconds timeout)
    : m_battery(systemBus, timeout)
    , m_wifi(std::move(systemBus), timeout)
{
}

void LinuxSystemStatus::readBattery(std::function<void(Battery)> answer)
{
    m_battery.read(std::move(answer));
}

void LinuxSystemStatus::readWifi(std::function<void(Wifi)> answer)
{
    m_wifi.read(std::move(answer));
}

std::optional<qint64> LinuxSystemStatus::freeBytes(const QString& folder) const
{
    struct statvfs figures {};
    if (::statvfs(QFile::encodeName(folder).constData(), &figures) != 0) {
        qCWarning(lcPlatform).noquote()
            << "Marquetto: can't tell the free space of" << folder + u':' << std::strerror(errno);
        return std::nullopt;
    }
    // Blocks available to the user, not those kept back for the administrator.
    const long double bytes = static_cast<long double>(figures.f_bavail) * figures.f_frsize;
    return static_cast<qint64>(std::min<long double>(bytes, std::numeric_limits<qint64>::max()));
}

std::optional<QString> LinuxSystemStatus::localIPv4() const
{
    return LocalAddress::choose(LocalAddress::entries());
}
