#include "band/BandModules.h"
#include "band/BandSymbols.h"
#include "band/MessagesEngine.h"
#include "band/ModuleBases.h"
#include "band/ModuleFaces.h"

namespace {

// Green at 85 % behind unread messages.
constexpr quint32 unreadFill = 0xD934C759;

class MessagesModule final : public ContextModule {
public:
    explicit MessagesModule(const BandModuleContext& context)
        : ContextModule(BandModule::messages, context)
        , m_engine(context.services.unreadMessages)
    {
        QObject::connect(&m_engine, &MessagesEngine::unreadChanged, &context.owner, context.changed);
        QObject::connect(&m_engine, &MessagesEngine::needsAccessChanged, &context.owner, context.changed);
    }

    BandFace face() override
    {
        const bool unread = m_engine.unread() > 0;
        return ModuleFaces::toggle(module(), BandSymbols::messages.of(unread), unread, unreadFill);
    }
    bool isClickable() const override { return true; }
    void activate() override { m_engine.openMessages(); }
    QList<BandMenuItem> menu(const BandMenuHost&) override
    {
        if (!m_engine.needsAccess())
            return {};
        return {{QStringLiteral("Highlight Unread Messages (Full Disk Access)…"),
                 [this] { m_engine.openFullDiskAccessSettings(); }},
                {}};
    }
    void setShown(bool shown) override { shown ? m_engine.start() : m_engine.stop(); }
    QObject* engine() override { return &m_engine; }

private:
    MessagesEngine m_engine;
};

} // namespace

std::unique_ptr<BandModuleKind> BandModules::messages(const BandModuleContext& context)
{
    return std::make_unique<MessagesModule>(context);
}
