#include "band/BandModules.h"
#include "band/BandSymbols.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"

namespace {

class BatteryModule final : public SlowVitalsModule {
public:
    explicit BatteryModule(const BandModuleContext& context)
        : SlowVitalsModule(BandModule::battery, context)
    {
    }

    BandFace face() override
    {
        const VitalsSlowEngine& slow = sources().slow;
        if (const std::optional<int> battery = slow.batteryPercent())
            return ModuleFaces::readout(QStringLiteral("BATT"), QString::number(*battery) + u'%',
                                        slow.batteryCharging() ? std::optional(BandSymbols::power.of(false))
                                                               : std::nullopt);
        return ModuleFaces::readout(QStringLiteral("POWER"), QStringLiteral("AC"),
                                    BandSymbols::power.of(true));
    }
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::battery(const BandModuleContext& context)
{
    return std::make_unique<BatteryModule>(context);
}
