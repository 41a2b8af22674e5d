#include "band/BandFormat.h"
#include "band/BandModules.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"

namespace {

class DriveSpaceModule final : public SlowVitalsModule {
public:
    explicit DriveSpaceModule(const BandModuleContext& context)
        : SlowVitalsModule(BandModule::driveSpace, context)
    {
    }

    BandFace face() override
    {
        return ModuleFaces::readout(QStringLiteral("FREE"),
                                    BandFormat::bytes(sources().slow.driveFree(), sources().locale));
    }
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::driveSpace(const BandModuleContext& context)
{
    return std::make_unique<DriveSpaceModule>(context);
}
