#include "band/BandModules.h"
#include "band/BandSymbols.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"

namespace {

class WifiModule final : public SlowVitalsModule {
public:
    explicit WifiModule(const BandModuleContext& context)
        : SlowVitalsModule(BandModule::wifi, context)
    {
    }

    BandFace face() override
    {
        const VitalsSlowEngine& slow = sources().slow;
        const bool connected = slow.wifiConnected();
        BandFace face = ModuleFaces::readout({}, connected ? slow.wifiSSID().value_or(QStringLiteral("Wi-Fi"))
                                                           : QStringLiteral("Off"));
        face.look = BandFace::Look::wifi;
        face.symbol = BandSymbols::wifi.of(connected);
        face.on = connected;
        return face;
    }
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::wifi(const BandModuleContext& context)
{
    return std::make_unique<WifiModule>(context);
}
