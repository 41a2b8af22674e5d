#include "band/BandModules.h"
#include "band/BandSymbols.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"
#include "platform/SystemControls.h"

namespace {

constexpr quint32 volumeTint = 0xD9FFFFFF;

// Volume down and volume up: one step of the output's volume a click.
class VolumeModule final : public ContextModule {
public:
    VolumeModule(BandModule module, const BandModuleContext& context)
        : ContextModule(module, context)
    {
    }

    BandFace face() override
    {
        BandFace face = ModuleFaces::toggle(module(), BandSymbols::volume.of(up()), false);
        face.readout.tint = volumeTint;
        return face;
    }
    bool isClickable() const override { return true; }
    void activate() override { up() ? services().controls.volumeUp() : services().controls.volumeDown(); }

private:
    [[nodiscard]] bool up() const { return module() == BandModule::volumeUp; }
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::volumeDown(const BandModuleContext& context)
{
    return std::make_unique<VolumeModule>(BandModule::volumeDown, context);
}

std::unique_ptr<BandModuleKind> BandModules::volumeUp(const BandModuleContext& context)
{
    return std::make_unique<VolumeModule>(BandModule::volumeUp, context);
}
