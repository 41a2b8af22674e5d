#include "band/BandModules.h"
#include "band/BandSymbols.h"
#include "band/FocusEngine.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"

namespace {

// Indigo at 85 % behind Do Not Disturb.
constexpr quint32 focusFill = 0xD95E5CE6;

class FocusModule final : public ContextModule {
public:
    explicit FocusModule(const BandModuleContext& context)
        : ContextModule(BandModule::focus, context)
        , m_engine(context.services.doNotDisturb)
    {
        QObject::connect(&m_engine, &FocusEngine::focusActiveChanged, &context.owner, context.changed);
        QObject::connect(&m_engine, &FocusEngine::needsAccessChanged, &context.owner, context.changed);
        QObject::connect(&m_engine, &FocusEngine::setupRequested, &context.owner, context.focusSetup);
    }

    BandFace face() override
    {
        const bool active = m_engine.focusActive();
        BandFace face = ModuleFaces::toggle(module(), BandSymbols::moon.of(active), active, focusFill);
        face.badge = m_engine.needsAccess();
        return face;
    }
    QString tooltip() const override
    {
        return m_engine.needsAccess()
                   ? QStringLiteral("Do Not Disturb. Needs Full Disk Access to read Focus state.")
                   : title(module());
    }
    bool isClickable() const override { return true; }
    void activate() override { m_engine.toggleDND(); }
    QList<BandMenuItem> menu(const BandMenuHost&) override
    {
        QList<BandMenuItem> items;
        if (m_engine.needsAccess())
            items.append({QStringLiteral("Show Focus State (Full Disk Access)…"),
                          [this] { m_engine.openFullDiskAccessSettings(); }});
        items.append({QStringLiteral("Shortcut Setup…"), context().focusSetup});
        items.append(BandMenuItem{});
        return items;
    }
    void setShown(bool shown) override { shown ? m_engine.start() : m_engine.stop(); }
    QObject* engine() override { return &m_engine; }

private:
    FocusEngine m_engine;
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::focus(const BandModuleContext& context)
{
    return std::make_unique<FocusModule>(context);
}
