#include "ProcVitalsCounters.h"

#include "core/Logging.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
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

ProcVitalsCounters::ProcVitalsCounters(const QString& procRoot, InterfaceIsUp isUp, Uptime uptime)
    : m_stat((procRoot + QStringLiteral("/stat")).toStdString())
    , m_meminfo((procRoot + QStringLiteral("/meminfo")).toStdString())
    , m_netDev((procRoot + QStringLiteral("/net/dev")).toStdString())
    , m_isUp(std::move(isUp))
    , m_uptime(uptime ? std::move(uptime) : Uptime(&bootSeconds))
{
    if (!m_isUp)
        m_socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
}

ProcVitalsCounters::~ProcVitalsCounters()
{
    if (m_socket >= 0)
        ::close(m_socket);
}

std::optional<VitalsCounters::CpuTicks> ProcVitalsCounters::cpuTicks()
{
    const std::optional<std::string_view> text = read(m_stat, kStatLimit, m_statProblem);
    if (!text)
        return std::nullopt;
    std::string_view line = *text;
    if (!line.starts_with("cpu ")) {
        report(m_statProblem, m_stat, "no cpu line");
        return std::nullopt;
    }
    line.remove_prefix(4);
    // user nice system idle iowait …; kernels before 2.6 stop after idle.
    std::array<quint64, 5> ticks{};
    std::size_t count = 0;
    for (; count < ticks.size(); ++count) {
        const std::optional<quint64> value = number(line);
        if (!value)
            break;
        ticks[count] = *value;
    }
    if (count < 4) {
        report(m_statProblem, m_stat, "cpu line cut short");
        return std::nullopt;
    }
    m_statProblem.clear();
    const double busy =
        static_cast<double>(ticks[0]) + static_cast<double>(ticks[1]) + static_cast<double>(ticks[2]);
    const double idle = static_cast<double>(ticks[3]) + static_cast<double>(ticks[4]);
    return CpuTicks{busy, busy + idle};
}

std::optional<double> ProcVitalsCounters::memoryInUse()
{
    const std::optional<std::string_view> text = read(m_meminfo, kMeminfoLimit, m_meminfoProblem);
    if (!text)
        return std::nullopt;
    const std::optional<quint64> total = meminfoValue(*text, "MemTotal:");
    const std::optional<quint64> available = meminfoValue(*text, "MemAvailable:");
    if (!total || !available || *total == 0) {
        report(m_meminfoProblem, m_meminfo, "no MemTotal or MemAvailable");
        return std::nullopt;
    }
    m_meminfoProblem.clear();
    return (static_cast<double>(*total) - static_cast<double>(*available)) / static_cast<double>(*total);
}

std::optional<VitalsCounters::NetworkBytes> ProcVitalsCounters::networkBytes()
{
    const std::optional<std::string_view> content = read(m_netDev, m_buffer.size(), m_netDevProblem);
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
            report(m_netDevProblem, m_netDev, "unreadable interface line");
            wellFormed = false;
            continue;
        }
        seen = true;
        std::array<char, IFNAMSIZ> terminated{};
        std::memcpy(terminated.data(), name.data(), name.size());
        if (name.starts_with("lo") || !isUp(terminated.data()))
            continue;
        bytes.received += columns[0];
        bytes.sent += columns[8];
    }
    if (!seen) {
        report(m_netDevProblem, m_netDev, "no interfaces");
        return std::nullopt;
    }
    if (wellFormed)
        m_netDevProblem.clear();
    bytes.uptime = m_uptime();
    return bytes;
}

std::optional<std::string_view> ProcVitalsCounters::read(const std::string& path, std::size_t limit,
                                                         std::string& problem)
{
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        report(problem, path, std::strerror(errno));
        return std::nullopt;
    }
    std::size_t size = 0;
    while (size < limit) {
        const ssize_t got = ::read(file, m_buffer.data() + size, limit - size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        size += static_cast<std::size_t>(got);
    }
    ::close(file);
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

void ProcVitalsCounters::report(std::string& last, const std::string& path, const char* problem)
{
    if (last == problem)
        return;
    last = problem;
    qCWarning(lcPlatform).noquote() << "Marquetto: can't read" << QString::fromStdString(path) + u':'
                                    << problem;
}
