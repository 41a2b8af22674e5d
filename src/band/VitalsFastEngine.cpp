#include "VitalsFastEngine.h"

#include <algorithm>

namespace {

// Two samples taken within the same instant would divide by nothing.
constexpr double kShortestInterval = 0.001;

template <typename Signal>
void publish(VitalsFastEngine* engine, double& figure, double value, Signal changed)
{
    if (figure == value)
        return;
    figure = value;
    Q_EMIT(engine->*changed)(value);
}

} // namespace

VitalsFastEngine::VitalsFastEngine(VitalsCounters& counters, QObject* parent)
    : QObject(parent)
    , m_counters(counters)
{
    m_timer.setInterval(interval);
    connect(&m_timer, &QTimer::timeout, this, &VitalsFastEngine::sample);
}

void VitalsFastEngine::start()
{
    if (m_timer.isActive())
        return;
    sample();
    m_timer.start();
}

void VitalsFastEngine::stop()
{
    m_timer.stop();
    m_prevCPU.reset();
    m_prevNet.reset();
}

void VitalsFastEngine::sample()
{
    sampleCpu();
    sampleMemory();
    sampleNetwork();
}

void VitalsFastEngine::sampleCpu()
{
    const std::optional<VitalsCounters::CpuTicks> ticks = m_counters.cpuTicks();
    if (!ticks)
        return;
    if (m_prevCPU) {
        const double elapsed = ticks->total - m_prevCPU->total;
        if (elapsed > 0)
            publish(this, m_cpu, std::clamp((ticks->busy - m_prevCPU->busy) / elapsed, 0.0, 1.0),
                    &VitalsFastEngine::cpuChanged);
    }
    m_prevCPU = ticks;
}

void VitalsFastEngine::sampleMemory()
{
    const double used = m_counters.memoryInUse().value_or(0);
    publish(this, m_memory, used > 0 ? std::min(used, 1.0) : 0.0, &VitalsFastEngine::memoryChanged);
}

void VitalsFastEngine::sampleNetwork()
{
    const std::optional<VitalsCounters::NetworkBytes> bytes = m_counters.networkBytes();
    if (!bytes)
        return;
    if (m_prevNet && bytes->received >= m_prevNet->received && bytes->sent >= m_prevNet->sent) {
        const double dt = std::max(bytes->uptime - m_prevNet->uptime, kShortestInterval);
        publish(this, m_netDown, static_cast<double>(bytes->received - m_prevNet->received) / dt,
                &VitalsFastEngine::netDownChanged);
        publish(this, m_netUp, static_cast<double>(bytes->sent - m_prevNet->sent) / dt,
                &VitalsFastEngine::netUpChanged);
    }
    m_prevNet = bytes;
}
