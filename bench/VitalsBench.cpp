// What one tick of the band's fast sampler costs the main thread: the machine's own /proc/stat,
// /proc/meminfo and /proc/net/dev read and turned into CPU, memory and network figures.
#include "band/VitalsFastEngine.h"
#include "platform/linux/system/ProcVitalsCounters.h"

#include <benchmark/benchmark.h>

namespace {

void fastSample(benchmark::State& state)
{
    ProcVitalsCounters counters;
    VitalsFastEngine engine(counters);
    for (auto _ : state) {
        engine.sample();
        benchmark::DoNotOptimize(engine.cpu());
    }
}
BENCHMARK(fastSample)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
