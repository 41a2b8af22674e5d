#include "band/BandModules.h"
#include "band/BandSymbols.h"
#include "band/MicMuteEngine.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"

namespace {

// The system red at 75 % behind a muted microphone.
constexpr quint32 mutedFill = 0xBFFF3B30;

class MicMuteModule final : public ContextModule {
public:
    explicit MicMuteModule(const BandModuleContext& context)
        : ContextModule(BandModule::micMute, context)
        , m_engine(context.services.audioInput)
    {
        QObject::connect(&m_engine, &MicMuteEngine::mutedChanged, &context.owner, context.changed);
    }

    BandFace face() override
    {
        const bool muted = m_engine.isMuted();
        return ModuleFaces::toggle(module(), BandSymbols::micMute.of(muted), muted, mutedFill);
    }
    bool isClickable() const override { return true; }
    void activate() override { m_engine.toggle(); }
    // The microphone may have changed elsewhere while the module was not on screen.
    void setShown(bool shown) override { shown ? m_engine.refresh() : m_engine.stopFollowing(); }

private:
    MicMuteEngine m_engine;
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::micMute(const BandModuleContext& context)
{
    return std::make_unique<MicMuteModule>(context);
}
