#include "band/BandModules.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"

namespace {

class MemoryModule final : public FastVitalsModule {
public:
    explicit MemoryModule(const BandModuleContext& context)
        : FastVitalsModule(BandModule::memory, context)
    {
    }

    BandFace face() override
    {
        return ModuleFaces::readout(QStringLiteral("RAM"), ModuleFaces::percent(sources().fast.memory()));
    }
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::memory(const BandModuleContext& context)
{
    return std::make_unique<MemoryModule>(context);
}
