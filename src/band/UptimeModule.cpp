#include "band/BandModules.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"
#include "band/SystemUptime.h"

namespace {

class UptimeModule final : public ClockModule {
public:
    explicit UptimeModule(const BandModuleContext& context)
        : ClockModule(BandModule::uptime, context)
        , m_uptime(context.services.procFolder)
    {
    }

    BandFace face() override { return ModuleFaces::readout(QStringLiteral("UPTIME"), m_uptime.text()); }

private:
    SystemUptime m_uptime;
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::uptime(const BandModuleContext& context)
{
    return std::make_unique<UptimeModule>(context);
}
