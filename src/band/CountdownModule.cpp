#include "band/BandModules.h"
#include "band/Countdown.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"
#include "model/Settings.h"

namespace {

// A click on a countdown without a date opens the customise window, where the date is set.
class CountdownModule final : public ClockModule {
public:
    explicit CountdownModule(const BandModuleContext& context)
        : ClockModule(BandModule::countdown, context)
    {
        DeckSettings& settings = context.services.settings;
        QObject::connect(&settings, &DeckSettings::countdownDateChanged, &context.owner, context.changed);
        QObject::connect(&settings, &DeckSettings::countdownLabelChanged, &context.owner, context.changed);
    }

    BandFace face() override
    {
        const DeckSettings& settings = services().settings;
        return ModuleFaces::readout(Countdown::caption(settings.countdownLabel()),
                                    Countdown::value(sources().clock.now(), settings.countdownDate()));
    }
    bool isClickable() const override { return !Countdown::isSet(services().settings.countdownDate()); }
    void activate() override
    {
        if (isClickable())
            context().customize();
    }
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::countdown(const BandModuleContext& context)
{
    return std::make_unique<CountdownModule>(context);
}
