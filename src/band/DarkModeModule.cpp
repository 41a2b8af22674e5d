#include "band/BandModules.h"
#include "band/BandSymbols.h"
#include "band/DarkModeEngine.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"

namespace {

class DarkModeModule final : public ContextModule {
public:
    explicit DarkModeModule(const BandModuleContext& context)
        : ContextModule(BandModule::darkMode, context)
        , m_engine(context.services.stateSources, context.services.controls)
    {
        QObject::connect(&m_engine, &DarkModeEngine::darkChanged, &context.owner, context.changed);
    }

    BandFace face() override
    {
        const bool dark = m_engine.isDark();
        return ModuleFaces::toggle(module(), BandSymbols::moon.of(dark), dark, ModuleFaces::accentFill);
    }
    bool isClickable() const override { return true; }
    void activate() override { m_engine.toggle(); }
    // The colour scheme may have changed elsewhere while the module was not on screen.
    void setShown(bool shown) override
    {
        if (shown)
            m_engine.refresh();
    }

private:
    DarkModeEngine m_engine;
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::darkMode(const BandModuleContext& context)
{
    return std::make_unique<DarkModeModule>(context);
}
