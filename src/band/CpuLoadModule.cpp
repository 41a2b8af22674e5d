#include "band/BandModules.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"

namespace {

class CpuLoadModule final : public FastVitalsModule {
public:
    explicit CpuLoadModule(const BandModuleContext& context)
        : FastVitalsModule(BandModule::cpuLoad, context)
    {
    }

    BandFace face() override
    {
        return ModuleFaces::readout(QStringLiteral("CPU"), ModuleFaces::percent(sources().fast.cpu()));
    }
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::cpuLoad(const BandModuleContext& context)
{
    return std::make_unique<CpuLoadModule>(context);
}
