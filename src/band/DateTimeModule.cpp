#include "band/BandModules.h"
#include "band/DateTimeText.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"

namespace {

class DateTimeModule final : public ClockModule {
public:
    explicit DateTimeModule(const BandModuleContext& context)
        : ClockModule(BandModule::dateTime, context)
    {
    }

    BandFace face() override
    {
        const QDateTime& now = sources().clock.now();
        BandFace face = ModuleFaces::readout(DateTimeText::date(now, sources().locale),
                                             DateTimeText::time(now, sources().locale));
        face.look = BandFace::Look::dateTime;
        return face;
    }
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::dateTime(const BandModuleContext& context)
{
    return std::make_unique<DateTimeModule>(context);
}
