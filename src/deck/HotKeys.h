#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <map>

class DesktopPanelController;
class GlobalHotKeys;
struct HotKeyName;
class TileActivation;
class TileStore;

// The program's system-wide keys by id, each with what it does.
//
// Main thread only. A handler runs on the main thread after the key event that fired it has returned.
class HotKeyCenter final : public QObject {
    Q_OBJECT
public:
    explicit HotKeyCenter(GlobalHotKeys& keys, QObject* parent = nullptr);

    // Grabs the key and runs `handler` when it is pressed; a later registration under the same id replaces
    // the handler. A key another program holds is kept anyway and simply never fires. `name` is what a
    // desktop that binds the keys itself shows for it.
    void registerKey(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t id, const HotKeyName& name,
                     std::function<void()> handler);
    // Runs the handler of `id`; an id without one is ignored.
    void dispatch(std::uint32_t id);

private:
    GlobalHotKeys& m_keys;
    std::map<std::uint32_t, std::function<void()>> m_handlers;
};

// Control-Option-Space summons or dismisses the deck; Control-Option-1 to 9 run the first nine tiles of the
// page on screen without showing the deck.
//
// Main thread only.
class DeckHotKeys final {
public:
    static constexpr std::uint32_t controlOption = 0x1800;
    static constexpr std::uint32_t summonId = 100;
    static constexpr std::uint32_t spaceKeyCode = 49;
    // The Mac virtual key codes of the digits 1 to 9, which do not follow the digits' order.
    static constexpr std::uint32_t digitKeyCodes[9] = {18, 19, 20, 21, 23, 22, 26, 28, 25};

    struct Services {
        TileStore& store;
        TileActivation& activation;
        DesktopPanelController& panel;
    };

    explicit DeckHotKeys(Services services);

    // Registers Space first, then the digits 1 to 9 under the ids 1 to 9. Once, just after start-up: the keys
    // are grabbed on a display connection of their own, which the first paint of the deck need not wait for.
    // Until then the keys do nothing, but `fireTile` and `toggleSummon` already work.
    void registerAll(HotKeyCenter& center);
    // Runs tile `index` of the current page and sends a summoned deck back; an empty tile does nothing and
    // answers false.
    bool fireTile(int index);
    void toggleSummon();

private:
    Services m_services;
};
