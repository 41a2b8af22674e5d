#pragma once

#include "platform/VitalsCounters.h"

#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The counters of a Linux kernel: `stat`, `meminfo` and `net/dev` under a /proc folder. The files stay open
// and each reading reads one afresh from its start into a buffer kept for the purpose: opening costs as
// much as reading. Only the network reading allocates, its list of interfaces.
//
// An interface counts when the kernel's class folder for it (`/sys/class/net/NAME`) has a `device`: bridges,
// virtual pairs, tunnels and VPNs have none, and what they carry already crosses a device once.
class ProcVitalsCounters final : public VitalsCounters {
public:
    // Whether the interface of that name is up; the default asks the kernel.
    using InterfaceIsUp = std::function<bool(const char* name)>;
    // Seconds since boot; the default is the kernel's boot-time clock.
    using Uptime = std::function<double()>;

    explicit ProcVitalsCounters(const QString& procRoot = QStringLiteral("/proc"),
                                const QString& netClassRoot = QStringLiteral("/sys/class/net"),
                                InterfaceIsUp isUp = {}, Uptime uptime = {});
    ~ProcVitalsCounters() override;
    ProcVitalsCounters(const ProcVitalsCounters&) = delete;
    ProcVitalsCounters& operator=(const ProcVitalsCounters&) = delete;

    [[nodiscard]] std::optional<CpuTicks> cpuTicks() override;
    [[nodiscard]] std::optional<double> memoryInUse() override;
    [[nodiscard]] std::optional<NetworkBytes> networkBytes() override;

private:
    struct File {
        std::string path;
        int descriptor = -1;
        // The last problem logged, so that a lasting one is logged once.
        std::string problem;
    };

    // The file's first `limit` bytes at most, or nothing when it cannot be read.
    [[nodiscard]] std::optional<std::string_view> read(File& file, std::size_t limit);
    [[nodiscard]] bool isUp(const char* name) const;
    [[nodiscard]] bool hasDevice(std::string_view name);
    static void report(File& file, const char* problem);

    File m_stat;
    File m_meminfo;
    File m_netDev;
    std::string m_netClassRoot;
    // Where `hasDevice` looks, kept to spare an allocation on every interface of every reading.
    std::string m_devicePath;
    InterfaceIsUp m_isUp;
    Uptime m_uptime;
    std::vector<char> m_buffer = std::vector<char>(64 * 1024);
    int m_socket = -1;
};
