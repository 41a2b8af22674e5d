#include "band/BandModules.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"
#include "band/PublicIPEngine.h"
#include "platform/Clipboard.h"

namespace {

// A click copies the address.
class PublicIPModule final : public ContextModule {
public:
    explicit PublicIPModule(const BandModuleContext& context)
        : ContextModule(BandModule::publicIP, context)
        , m_engine(context.services.settings)
    {
        QObject::connect(&m_engine, &PublicIPEngine::changed, &context.owner, context.changed);
    }

    BandFace face() override { return ModuleFaces::readout(QStringLiteral("PUBLIC IP"), m_engine.text()); }
    bool isClickable() const override { return m_engine.ip().has_value(); }
    void activate() override
    {
        if (const std::optional<QString>& address = m_engine.ip())
            services().clipboard.setText(*address);
    }
    void setShown(bool shown) override { shown ? m_engine.start() : m_engine.stop(); }

private:
    PublicIPEngine m_engine;
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::publicIP(const BandModuleContext& context)
{
    return std::make_unique<PublicIPModule>(context);
}
