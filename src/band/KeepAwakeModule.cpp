#include "band/BandModules.h"
#include "band/BandSymbols.h"
#include "band/KeepAwakeEngine.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"

namespace {

class KeepAwakeModule final : public ContextModule {
public:
    explicit KeepAwakeModule(const BandModuleContext& context)
        : ContextModule(BandModule::keepAwake, context)
        , m_engine(context.services.sleepInhibitor)
    {
        QObject::connect(&m_engine, &KeepAwakeEngine::onChanged, &context.owner, context.changed);
    }

    BandFace face() override
    {
        const bool on = m_engine.isOn();
        BandFace face =
            ModuleFaces::toggle(module(), BandSymbols::keepAwake.of(on), on, ModuleFaces::accentFill);
        // Desktops honour some inhibitions and not others: which one holds is worth knowing.
        if (const QString holder = m_engine.heldBy(); !holder.isEmpty())
            face.line += QStringLiteral(", held by ") + holder;
        return face;
    }
    bool isClickable() const override { return true; }
    void activate() override { m_engine.toggle(); }
    // Nothing keeps the machine awake from a module that is not on screen.
    void setShown(bool shown) override
    {
        if (!shown)
            m_engine.release();
    }

private:
    KeepAwakeEngine m_engine;
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::keepAwake(const BandModuleContext& context)
{
    return std::make_unique<KeepAwakeModule>(context);
}
