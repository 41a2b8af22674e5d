#pragma once

#include "platform/VitalsCounters.h"

#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The counters of a Linux kernel: `stat`, `meminfo` and `net/dev` under a /proc folder. Each reading opens
// and reads one file into a buffer kept for the purpose, so a reading costs a few microseconds and allocates
// nothing.
class ProcVitalsCounters final : public VitalsCounters {
public:
    // Whether the interface of that name is up; the default asks the kernel.
    using InterfaceIsUp = std::function<bool(const char* name)>;
    // Seconds since boot; the default is the kernel's boot-time clock.
    using Uptime = std::function<double()>;

    explicit ProcVitalsCounters(const QString& procRoot = QStringLiteral("/proc"), InterfaceIsUp isUp = {},
                                Uptime uptime = {});
    ~ProcVitalsCounters() override;
    ProcVitalsCounters(const ProcVitalsCounters&) = delete;
    ProcVitalsCounters& operator=(const ProcVitalsCounters&) = delete;

    [[nodiscard]] std::optional<CpuTicks> cpuTicks() override;
    [[nodiscard]] std::optional<double> memoryInUse() override;
    [[nodiscard]] std::optional<NetworkBytes> networkBytes() override;

private:
    // The file's first `limit` bytes at most, or nothing when it cannot be read.
    [[nodiscard]] std::optional<std::string_view> read(const std::string& path, std::size_t limit,
                                                       std::string& problem);
    [[nodiscard]] bool isUp(const char* name) const;
    // Logs a lasting problem once, and again only after the file was read well in between.
    void report(std::string& last, const std::string& path, const char* problem);

    std::string m_stat;
    std::string m_meminfo;
    std::string m_netDev;
    InterfaceIsUp m_isUp;
    Uptime m_uptime;
    std::vector<char> m_buffer = std::vector<char>(64 * 1024);
    int m_socket = -1;
    std::string m_statProblem;
    std::string m_meminfoProblem;
    std::string m_netDevProblem;
};
