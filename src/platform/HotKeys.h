#pragma once

#include "core/EnumNames.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <map>

// How the program's keys reach it: X11 key grabs, the desktop portal's global shortcuts, GNOME's own custom
// shortcuts running the companion, or not at all.
enum class HotKeyMechanism { x11, portal, gnomeKeybindings, none };

// The raw values `marquetto-deck state` reports, and how the start-up log line words each.
inline constexpr EnumNames<HotKeyMechanism, 4> hotKeyMechanismNames{{{
    {u"x11", u"X11 key grabs"},
    {u"portal", u"the desktop portal's global shortcuts"},
    {u"gnomeKeybindings", u"GNOME custom keyboard shortcuts that run marquetto-deck"},
    {u"none", u"nothing"},
}}};

// How a desktop that lists the program's keys in its own settings shows one of them.
struct HotKeyName {
    QString id; // stable from run to run: "summon", "tile-1"
    QString description;
};

// System-wide hot keys, which fire while any application is frontmost.
//
// Keys are named by their Mac virtual key codes and Carbon modifier masks (Control 0x1000, Option 0x0800,
// Command 0x0100, Shift 0x0200), which the deck's table uses on every platform; each implementation maps them
// to its own keys. Main thread only; `pressed` fires on the main thread after the key event has been handled.
class GlobalHotKeys : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~GlobalHotKeys() override = default;

    // Grabs the key for this id. False when the key cannot be had (another program holds it, no display); a
    // later registration under the same id replaces the earlier one. A desktop that binds keys itself may
    // bind them later, or bind other keys the user chose, and says so through `triggersChanged`.
    virtual bool registerKey(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t id,
                             const HotKeyName& name) = 0;
    [[nodiscard]] virtual HotKeyMechanism mechanism() const = 0;
    // The keys that fire each registered id, as the desktop words them ("CTRL+ALT+space"); empty for an id
    // whose key is not bound.
    [[nodiscard]] virtual std::map<std::uint32_t, QString> triggers() const = 0;

Q_SIGNALS:
    void pressed(std::uint32_t id);
    // Fires when `triggers()` answers differently.
    void triggersChanged();
};

// For a desktop where the program grabs no keys: none at all, or keys the desktop's own shortcuts deliver
// through the companion.
class NullGlobalHotKeys final : public GlobalHotKeys {
public:
    explicit NullGlobalHotKeys(HotKeyMechanism mechanism = HotKeyMechanism::none, QObject* parent = nullptr)
        : GlobalHotKeys(parent)
        , m_mechanism(mechanism)
    {
    }

    bool registerKey(std::uint32_t, std::uint32_t, std::uint32_t, const HotKeyName&) override
    {
        return false;
    }
    [[nodiscard]] HotKeyMechanism mechanism() const override { return m_mechanism; }
    [[nodiscard]] std::map<std::uint32_t, QString> triggers() const override { return {}; }

private:
    HotKeyMechanism m_mechanism = HotKeyMechanism::none;
};
