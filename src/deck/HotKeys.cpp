#include "deck/HotKeys.h"

#include "deck/DesktopPanel.h"
#include "deck/TileActivation.h"
#include "model/TileStore.h"
#include "platform/HotKeys.h"

HotKeyCenter::HotKeyCenter(GlobalHotKeys& keys, QObject* parent)
    : QObject(parent)
    , m_keys(keys)
{
    // Queued, so that a tile's action never runs inside the key event it came with.
    connect(&m_keys, &GlobalHotKeys::pressed, this, &HotKeyCenter::dispatch, Qt::QueuedConnection);
}

void HotKeyCenter::registerKey(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t id,
                               const HotKeyName& name, std::function<void()> handler)
{
    m_handlers[id] = std::move(handler);
    m_keys.registerKey(keyCode, modifiers, id, name);
}

void HotKeyCenter::dispatch(std::uint32_t id)
{
    const auto found = m_handlers.find(id);
    if (found == m_handlers.end() || !found->second)
        return;
    // A copy: the handler may register keys again and replace itself while it runs.
    const std::function<void()> handler = found->second;
    handler();
}

DeckHotKeys::DeckHotKeys(Services services)
    : m_services(services)
{
}

void DeckHotKeys::registerAll(HotKeyCenter& center)
{
    center.registerKey(spaceKeyCode, controlOption, summonId,
                       {QStringLiteral("summon"), QStringLiteral("Summon the deck")},
                       [this] { toggleSummon(); });
    for (int digit = 1; digit <= 9; ++digit) {
        const QString number = QString::number(digit);
        center.registerKey(digitKeyCodes[digit - 1], controlOption, static_cast<std::uint32_t>(digit),
                           {QStringLiteral("tile-") + number, QStringLiteral("Run tile ") + number},
                           [this, digit] { fireTile(digit - 1); });
    }
}

bool DeckHotKeys::fireTile(int index)
{
    return m_services.activation.run(m_services.store.currentPage(), index);
}

void DeckHotKeys::toggleSummon()
{
    if (m_services.panel.isSummoned())
        m_services.panel.endSummon();
    else
        m_services.panel.beginSummon();
}
