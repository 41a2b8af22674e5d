#include "platform/linux/system/ProcVitalsCounters.h"

#include "core/Logging.h"

#include <QFile>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <initializer_list>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The first line of /proc/stat needs far less; reading less spares the kernel formatting every CPU's line.
constexpr std::size_t kStatLimit = 1024;
constexpr std::size_t kMeminfoLimit = 4096;

double bootSeconds()
{
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return 0;
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void skipSpaces(std::string_view& text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
}

std::optional<quint64> number(std::string_view& text)
{
    skipSpaces(text);
    quint64 value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc())
        return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

std::string_view nextLine(std::string_view& text)
{
    const std::size_t end = text.find('\n');
    // A line cut off by the end of the buffer is not a line.
    if (end == std::string_view::npos) {
        text = {};
        return {};
    }
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    return line;
}

std::optional<quint64> meminfoValue(std::string_view text, std::string_view key)
{
    while (!text.empty()) {
        std::string_view line = nextLine(text);
        if (line.starts_with(key)) {
            line.remove_prefix(key.size());
            return number(line);
        }
    }
    return std::nullopt;
}

} // namespace

ProcVitalsCounters::ProcVitalsCounters(const QString& procRoot, const QString& netClassRoot,
                                       InterfaceIsUp isUp, Uptime uptime)
    : m_stat{QFile::encodeName(procRoot + QStringLiteral("/stat")).toStdString(), -1, {}}
    , m_meminfo{QFile::encodeName(procRoot + QStringLiteral("/meminfo")).toStdString(), -1, {}}
    , m_netDev{QFile::encodeName(procRoot + QStringLiteral("/net/dev")).toStdString(), -1, {}}
    , m_netClassRoot(QFile::encodeName(netClassRoot).toStdString())
    , m_isUp(std::move(isUp))
    , m_uptime(uptime ? std::move(uptime) : Uptime(&bootSeconds))
{
    if (!m_isUp)
        m_socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
}

ProcVitalsCounters::~ProcVitalsCounters()
{
    for (const int descriptor : {m_socket, m_stat.descriptor, m_meminfo.descriptor, m_netDev.descriptor}) {
        if (descriptor >= 0)
            ::close(descriptor);
    }
}

std::optional<VitalsCounters::CpuTicks> ProcVitalsCounters::cpuTicks()
{
    const std::optional<std::string_view> text = read(m_stat, kStatLimit);
    if (!text)
        return std::nullopt;
    std::string_view line = *text;
    if (!line.starts_with("cpu ")) {
        report(m_stat, "no cpu line");
        return std::nullopt;
    }
    line.remove_prefix(4);
    // user nice system idle iowait irq softirq steal, then guest time, which user and nice hold already;
    // older kernels stop earlier, after idle at the least.
    enum Column { user, nice, system, idle, iowait, irq, softirq, steal, columnCount };
    std::array<quint64, columnCount> ticks{};
    std::size_t count = 0;
    for (; count < ticks.size(); ++count) {
        const std::optional<quint64> value = number(line);
        if (!value)
            break;
        ticks[count] = *value;
    }
    if (count <= static_cast<std::size_t>(idle)) {
        report(m_stat, "cpu line cut short");
        return std::nullopt;
    }
    m_stat.problem.clear();
    const auto sum = [&ticks](std::initializer_list<Column> columns) {
        double total = 0;
        for (const Column column : columns)
            total += static_cast<double>(ticks[column]);
        return total;
    };
    // Time spent on interrupts or taken by the hypervisor is time the CPU was not free either.
    const double busy = sum({user, nice, system, irq, softirq, steal});
    return CpuTicks{busy, busy + sum({idle, iowait})};
}

std::optional<double> ProcVitalsCounters::memoryInUse()
{
    const std::optional<std::string_view> text = read(m_meminfo, kMeminfoLimit);
    if (!text)
        return std::nullopt;
    const std::optional<quint64> total = meminfoValue(*text, "MemTotal:");
    const std::optional<quint64> available = meminfoValue(*text, "MemAvailable:");
    if (!total || !available || *total == 0) {
        report(m_meminfo, "no MemTotal or MemAvailable");
        return std::nullopt;
    }
    m_meminfo.problem.clear();
    return (static_cast<double>(*total) - static_cast<double>(*available)) / static_cast<double>(*total);
}

std::optional<VitalsCounters::NetworkBytes> ProcVitalsCounters::networkBytes()
{
    const std::optional<std::string_view> content = read(m_netDev, m_buffer.size());
    if (!content)
        return std::nullopt;
    std::string_view text = *content;
    // Two lines of column headings come first.
    nextLine(text);
    nextLine(text);
    NetworkBytes bytes;
    bool seen = false;
    bool wellFormed = true;
    while (!text.empty()) {
        std::string_view line = nextLine(text);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        std::string_view name = line.substr(0, colon);
        skipSpaces(name);
        line.remove_prefix(colon + 1);
        // Received bytes come first, sent bytes ninth.
        std::array<quint64, 9> columns{};
        bool complete = true;
        for (quint64& column : columns) {
            const std::optional<quint64> value = number(line);
            if (!value) {
                complete = false;
                break;
            }
            column = *value;
        }
        if (!complete || name.empty() || name.size() >= IFNAMSIZ) {
            report(m_netDev, "unreadable interface line");
            wellFormed = false;
            continue;
        }
        seen = true;
        std::array<char, IFNAMSIZ> terminated{};
        std::memcpy(terminated.data(), name.data(), name.size());
        if (name.starts_with("lo") || !isUp(terminated.data()) || !hasDevice(name))
            continue;
        bytes.interfaces.push_back({std::string(name), columns[0], columns[8]});
    }
    if (!seen) {
        report(m_netDev, "no interfaces");
        return std::nullopt;
    }
    if (wellFormed)
        m_netDev.problem.clear();
    bytes.uptime = m_uptime();
    return bytes;
}

std::optional<std::string_view> ProcVitalsCounters::read(File& file, std::size_t limit)
{
    // A file replaced or removed since it was opened is opened again: what it was is no reading.
    struct stat status {};
    if (file.descriptor >= 0 && (::fstat(file.descriptor, &status) != 0 || status.st_nlink == 0)) {
        ::close(file.descriptor);
        file.descriptor = -1;
    }
    if (file.descriptor < 0)
        file.descriptor = ::open(file.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file.descriptor < 0) {
        report(file, std::strerror(errno));
        return std::nullopt;
    }
    std::size_t size = 0;
    while (size < limit) {
        const ssize_t got =
            ::pread(file.descriptor, m_buffer.data() + size, limit - size, static_cast<off_t>(size));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            report(file, std::strerror(errno));
            ::close(file.descriptor);
            file.descriptor = -1;
            return std::nullopt;
        }
        if (got == 0)
            break;
        size += static_cast<std::size_t>(got);
    }
    return std::string_view(m_buffer.data(), size);
}

bool ProcVitalsCounters::isUp(const char* name) const
{
    if (m_isUp)
        return m_isUp(name);
    if (m_socket < 0)
        return true;
    ifreq request{};
    std::strncpy(request.ifr_name, name, IFNAMSIZ - 1);
    if (::ioctl(m_socket, SIOCGIFFLAGS, &request) != 0)
        return false;
    return (request.ifr_flags & IFF_UP) != 0;
}

bool ProcVitalsCounters::hasDevice(std::string_view name)
{
    m_devicePath.assign(m_netClassRoot).append(1, '/').append(name).append("/device");
    return ::access(m_devicePath.c_str(), F_OK) == 0;
}

void ProcVitalsCounters::report(File& file, const char* problem)
{
    if (file.problem == problem)
        return;
    file.problem = problem;
    qCWarning(lcPlatform).noquote() << "Marquetto: can't read" << QFile::decodeName(file.path.c_str()) + u':'
                                    << problem;
}
