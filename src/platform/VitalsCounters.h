#pragma once

#include <QtGlobal>
#include <optional>
#include <string>
#include <vector>

// The kernel's running counters behind the CPU, memory and network figures.
//
// Every call reads the counters afresh, without starting a process or asking a service, so that a timer on
// the main thread can call it every few seconds. Main thread only: an implementation may keep one buffer
// for its readings.
class VitalsCounters {
public:
    // CPU time since boot, in the kernel's ticks.
    struct CpuTicks {
        double busy = 0;
        double total = 0;
    };
    // Bytes one interface moved since it appeared.
    struct InterfaceBytes {
        std::string name;
        quint64 received = 0;
        quint64 sent = 0;
    };
    // The up interfaces that lead off the machine (not loopback, nor the bridges, virtual pairs and tunnels
    // that carry the same bytes again), each with its counts, and the system's uptime in seconds when they
    // were read.
    struct NetworkBytes {
        std::vector<InterfaceBytes> interfaces;
        double uptime = 0;
    };

    virtual ~VitalsCounters() = default;

    // Nothing when the counters cannot be read.
    [[nodiscard]] virtual std::optional<CpuTicks> cpuTicks() = 0;
    // The fraction of physical memory in use, unclamped; nothing when it cannot be read.
    [[nodiscard]] virtual std::optional<double> memoryInUse() = 0;
    [[nodiscard]] virtual std::optional<NetworkBytes> networkBytes() = 0;
};

// A machine whose counters are out of reach: every reading is missing.
class NoVitalsCounters final : public VitalsCounters {
public:
    [[nodiscard]] std::optional<CpuTicks> cpuTicks() override { return std::nullopt; }
    [[nodiscard]] std::optional<double> memoryInUse() override { return std::nullopt; }
    [[nodiscard]] std::optional<NetworkBytes> networkBytes() override { return std::nullopt; }
};
