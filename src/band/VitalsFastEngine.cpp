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

struct Moved {
    quint64 received = 0;
    quint64 sent = 0;
};

// The bytes the interfaces of both readings moved in between. An interface that has just come up (or back
// up) moved nothing yet in this interval, whatever its counts say; one whose counts went down wrapped or was
// made anew, and leaves the interval unknown.
std::optional<Moved> movedSince(const VitalsCounters::NetworkBytes& before,
                                const VitalsCounters::NetworkBytes& now)
{
    Moved moved;
    for (const VitalsCounters::InterfaceBytes& interface : now.interfaces) {
        const auto earlier = std::find_if(
            before.interfaces.cbegin(), before.interfaces.cend(),
            [&](const VitalsCounters::InterfaceBytes& old) { return old.name == interface.name; });
        if (earlier == before.interfaces.cend())
            continue;
        if (interface.received < earlier->received || interface.sent < earlier->sent)
            return std::nullopt;
        moved.received += interface.received - earlier->received;
        moved.sent += interface.sent - earlier->sent;
    }
    return moved;
}

} // namespace

VitalsFastEngine::VitalsFastEngine(VitalsCounters& counters, QObject* parent)
    : QObject(parent)
    , m_counters(counters)
{
}

void VitalsFastEngine::start()
{
    m_poller.start();
}

void VitalsFastEngine::stop()
{
    m_poller.stop();
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
    std::optional<VitalsCounters::NetworkBytes> bytes = m_counters.networkBytes();
    if (!bytes)
        return;
    if (m_prevNet) {
        if (const std::optional<Moved> moved = movedSince(*m_prevNet, *bytes)) {
            const double dt = std::max(bytes->uptime - m_prevNet->uptime, kShortestInterval);
            publish(this, m_netDown, static_cast<double>(moved->received) / dt,
                    &VitalsFastEngine::netDownChanged);
            publish(this, m_netUp, static_cast<double>(moved->sent) / dt, &VitalsFastEngine::netUpChanged);
        }
    }
    m_prevNet = std::move(bytes);
}
