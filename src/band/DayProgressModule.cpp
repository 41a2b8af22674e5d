#include "band/BandModules.h"
#include "band/DayProgress.h"
#include "band/ModuleBases.h"

namespace {

class DayProgressModule final : public ClockModule {
public:
    explicit DayProgressModule(const BandModuleContext& context)
        : ClockModule(BandModule::dayProgress, context)
    {
    }

    BandFace face() override
    {
        BandFace face;
        face.look = BandFace::Look::dayProgress;
        face.fraction = DayProgress::fraction(sources().clock.now());
        face.readout.caption = DayProgress::caption(face.fraction);
        face.line = face.readout.caption;
        return face;
    }
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::dayProgress(const BandModuleContext& context)
{
    return std::make_unique<DayProgressModule>(context);
}
