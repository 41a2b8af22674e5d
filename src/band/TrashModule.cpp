#include "band/BandModules.h"
#include "band/BandSymbols.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"
#include "band/TrashEmptying.h"

namespace {

// An empty Trash is drawn faint, as a full one is drawn solid: the icon font has no outlined can.
constexpr quint32 emptyTrashTint = 0x80FFFFFF;

class TrashModule final : public SlowVitalsModule {
public:
    explicit TrashModule(const BandModuleContext& context)
        : SlowVitalsModule(BandModule::trash, context)
    {
    }

    BandFace face() override
    {
        const bool full = sources().slow.trashCount() >= 1;
        BandFace face = ModuleFaces::toggle(module(), BandSymbols::trash.of(full), full);
        if (!full)
            face.readout.tint = emptyTrashTint;
        return face;
    }
    bool isClickable() const override { return true; }
    void activate() override { services().trash.open(); }
    QList<BandMenuItem> menu(const BandMenuHost& host) override
    {
        return {{QStringLiteral("Empty Trash…"),
                 [this, &alerts = host.alerts] {
                     TrashEmptying::start(&context().owner, services().trash, alerts);
                 }},
                {}};
    }
    void setShown(bool shown) override
    {
        VitalsSlowEngine& slow = sources().slow;
        slow.setCountsTrash(shown);
        // A Trash that just came on screen is counted now rather than at the next sample.
        if (shown && slow.isRunning())
            slow.sample();
        SlowVitalsModule::setShown(shown);
    }
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::trash(const BandModuleContext& context)
{
    return std::make_unique<TrashModule>(context);
}
