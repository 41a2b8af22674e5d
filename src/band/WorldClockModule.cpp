#include "band/BandModules.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"
#include "band/WorldClock.h"
#include "model/Settings.h"

namespace {

class WorldClockModule final : public ClockModule {
public:
    explicit WorldClockModule(const BandModuleContext& context)
        : ClockModule(BandModule::worldClock, context)
        , m_clock(context.services.settings.worldClockTimeZone())
    {
        DeckSettings& settings = context.services.settings;
        QObject::connect(&settings, &DeckSettings::worldClockTimeZoneChanged, &context.owner,
                         [this](const QString& zone) {
                             m_clock.setZone(zone);
                             this->context().changed();
                         });
        QObject::connect(&settings, &DeckSettings::worldClockLabelChanged, &context.owner, context.changed);
    }

    BandFace face() override
    {
        BandFace face = ModuleFaces::readout(m_clock.caption(services().settings.worldClockLabel()),
                                             m_clock.time(sources().clock.now(), sources().locale));
        face.look = BandFace::Look::worldClock;
        return face;
    }

private:
    WorldClock m_clock;
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::worldClock(const BandModuleContext& context)
{
    return std::make_unique<WorldClockModule>(context);
}
