#include "band/BandModules.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"
#include "band/WeatherEngine.h"

namespace {

// A click on a weather that needs a place opens the customise window, where the place is typed in.
class WeatherModule final : public ContextModule {
public:
    explicit WeatherModule(const BandModuleContext& context)
        : ContextModule(BandModule::weather, context)
        , m_engine(context.services.settings, context.services.location, context.sources.locale)
    {
        QObject::connect(&m_engine, &WeatherEngine::changed, &context.owner, context.changed);
    }

    BandFace face() override { return ModuleFaces::readout({}, m_engine.text(), m_engine.symbolName()); }
    QString tooltip() const override
    {
        return m_engine.needsLocation() ? QStringLiteral("Weather. Needs Location access to show conditions.")
                                        : title(module());
    }
    bool isClickable() const override { return m_engine.needsPlace(); }
    void activate() override
    {
        if (m_engine.needsPlace())
            context().customize();
    }
    QList<BandMenuItem> menu(const BandMenuHost& host) override
    {
        if (!m_engine.needsLocation() && !m_engine.needsPlace())
            return {};
        QList<BandMenuItem> items;
        if (m_engine.needsLocation() && m_engine.canOpenLocationSettings())
            items.append(
                {QStringLiteral("Open Location Settings…"), [this] { m_engine.openLocationSettings(); }});
        items.append({QStringLiteral("Set Location…"), host.customize});
        items.append(BandMenuItem{});
        return items;
    }
    void setShown(bool shown) override { shown ? m_engine.start() : m_engine.stop(); }

private:
    WeatherEngine m_engine;
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::weather(const BandModuleContext& context)
{
    return std::make_unique<WeatherModule>(context);
}
