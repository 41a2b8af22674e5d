#pragma once

#include "core/Poller.h"
#include "platform/VitalsCounters.h"

#include <QObject>
#include <chrono>
#include <optional>

// CPU load, memory in use and network throughput, sampled every 2 seconds while started.
//
// Main thread only. Each figure's signal fires when a sample changes it. CPU and network figures are
// differences between two samples, so the first sample after `start()` publishes only memory. Network rates
// compare each interface with itself: one that comes up or goes away between two samples adds nothing, and a
// sample in which an interface's byte counts went down (a counter wrapped) publishes no rate. A reading that
// fails keeps the CPU and network figures and sets memory to 0.
class VitalsFastEngine final : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds interval{2000};

    // `counters` must outlive the engine.
    explicit VitalsFastEngine(VitalsCounters& counters, QObject* parent = nullptr);

    // Samples at once and then on every tick; does nothing while already started.
    void start();
    // Stops sampling and forgets the previous sample, so the next start begins afresh; the figures stay.
    void stop();
    [[nodiscard]] bool isRunning() const { return m_poller.isRunning(); }
    // What the timer does on each tick.
    void sample();

    // Fraction of CPU time busy between the last two samples, 0 … 1.
    [[nodiscard]] double cpu() const { return m_cpu; }
    // Fraction of physical memory in use, 0 … 1.
    [[nodiscard]] double memory() const { return m_memory; }
    // Bytes per second received and sent between the last two samples.
    [[nodiscard]] double netDown() const { return m_netDown; }
    [[nodiscard]] double netUp() const { return m_netUp; }

Q_SIGNALS:
    void cpuChanged(double cpu);
    void memoryChanged(double memory);
    void netDownChanged(double bytesPerSecond);
    void netUpChanged(double bytesPerSecond);

private:
    void sampleCpu();
    void sampleMemory();
    void sampleNetwork();

    VitalsCounters& m_counters;
    Poller m_poller{interval, [this] { sample(); }};
    std::optional<VitalsCounters::CpuTicks> m_prevCPU;
    std::optional<VitalsCounters::NetworkBytes> m_prevNet;
    double m_cpu = 0;
    double m_memory = 0;
    double m_netDown = 0;
    double m_netUp = 0;
};
