#include "FuzzCheck.h"
#include "FuzzHome.h"
#include "FuzzReader.h"
#include "platform/linux/system/ProcVitalsCounters.h"

#include <memory>

namespace {

ProcVitalsCounters& counters()
{
    static const auto counters = std::make_unique<ProcVitalsCounters>(
        FuzzHome::shared().path(), FuzzHome::shared().path() + QStringLiteral("/class"));
    return *counters;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietQtMessages();
    QDir().mkpath(FuzzHome::shared().path() + QStringLiteral("/net"));
    QDir().mkpath(FuzzHome::shared().path() + QStringLiteral("/class/eth0/device"));
    return 0;
}

// One of the kernel's counter files, chosen by the first byte (`stat`, `meminfo`, `net/dev`), holding the
// rest, rewritten in place as the kernel's are, and read by the counters that keep it open.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzReader in(data, size);
    const std::uint8_t kind = in.byte() % 3;
    static const QString files[] = {QStringLiteral("/stat"), QStringLiteral("/meminfo"),
                                    QStringLiteral("/net/dev")};
    FuzzHome::write(FuzzHome::shared().path() + files[kind], in.rest());
    switch (kind) {
    case 0:
        static_cast<void>(counters().cpuTicks());
        break;
    case 1:
        static_cast<void>(counters().memoryInUse());
        break;
    default:
        static_cast<void>(counters().networkBytes());
        break;
    }
    return 0;
}
