#include "band/BandFormat.h"
#include "band/BandModules.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"

namespace {

class NetworkModule final : public FastVitalsModule {
public:
    explicit NetworkModule(const BandModuleContext& context)
        : FastVitalsModule(BandModule::network, context)
    {
    }

    BandFace face() override
    {
        const VitalsFastEngine& fast = sources().fast;
        BandFace face =
            ModuleFaces::readout(BandFormat::rate(fast.netDown()), BandFormat::rate(fast.netUp()));
        face.look = BandFace::Look::network;
        face.line = u'↓' + face.readout.caption + QStringLiteral(" ↑") + face.readout.value;
        return face;
    }
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::network(const BandModuleContext& context)
{
    return std::make_unique<NetworkModule>(context);
}
