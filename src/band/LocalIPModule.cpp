#include "band/BandModules.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"
#include "platform/Clipboard.h"

namespace {

// A click copies the address.
class LocalIPModule final : public SlowVitalsModule {
public:
    explicit LocalIPModule(const BandModuleContext& context)
        : SlowVitalsModule(BandModule::localIP, context)
    {
    }

    BandFace face() override
    {
        return ModuleFaces::readout(QStringLiteral("LAN IP"),
                                    sources().slow.localIP().value_or(QStringLiteral("—")));
    }
    bool isClickable() const override { return sources().slow.localIP().has_value(); }
    void activate() override
    {
        if (const std::optional<QString>& address = sources().slow.localIP())
            services().clipboard.setText(*address);
    }
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::localIP(const BandModuleContext& context)
{
    return std::make_unique<LocalIPModule>(context);
}
