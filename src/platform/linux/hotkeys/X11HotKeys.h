#pragma once

#include "platform/HotKeys.h"

#include <map>
#include <memory>
#include <optional>
#include <vector>
#include <xcb/xcb.h>

class QSocketNotifier;
class XcbConnection;

// Global keys as passive grabs on the root window of an X display, read from a connection of its own so that
// no GUI is needed. Each key is grabbed once for every state of Caps Lock and Num Lock, which X counts as
// modifiers, so that the keys still work with either lock on. Keys on a keyboard whose layout changes after
// registration keep the key codes they had. A key held down fires once: X repeats it as a release and a press
// with the same time stamp, and such a press is no new one.
class X11HotKeys final : public GlobalHotKeys {
    Q_OBJECT
public:
    explicit X11HotKeys(std::unique_ptr<XcbConnection> connection, QObject* parent = nullptr);
    ~X11HotKeys() override;

    bool registerKey(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t id,
                     const HotKeyName& name) override;
    [[nodiscard]] HotKeyMechanism mechanism() const override { return HotKeyMechanism::x11; }
    [[nodiscard]] std::map<std::uint32_t, QString> triggers() const override { return m_triggers; }

private:
    // One key as X sees it: every key code that types its symbol, held with these modifiers.
    struct Grab {
        std::vector<xcb_keycode_t> keyCodes;
        std::uint16_t modifiers = 0;
        bool operator==(const Grab&) const = default;
    };

    // The symbols of every key code, read once: registering ten keys asks the server for them once.
    struct KeyboardMap {
        xcb_keycode_t firstCode = 0;
        int symbolsPerCode = 0;
        std::vector<xcb_keysym_t> symbols;
    };

    [[nodiscard]] bool replaceGrab(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t id);
    [[nodiscard]] const KeyboardMap& keyboard();
    [[nodiscard]] static std::vector<xcb_keycode_t> codesOf(const KeyboardMap& map, xcb_keysym_t symbol);
    [[nodiscard]] std::optional<Grab> grabFor(std::uint32_t keyCode, std::uint32_t modifiers);
    [[nodiscard]] bool grab(const Grab& grab);
    void ungrab(const Grab& grab);
    [[nodiscard]] std::vector<std::uint16_t> lockCombinations(std::uint16_t modifiers) const;
    void readEvents();
    void handleKeyPress(xcb_keycode_t keyCode, std::uint16_t state);

    std::unique_ptr<XcbConnection> m_x;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::map<std::uint32_t, Grab> m_grabs; // by id
    std::map<std::uint32_t, QString> m_triggers;
    std::uint16_t m_numLockMask = 0;
    std::optional<KeyboardMap> m_keyboard;
    // The last key released, until the next press: a press at the very same time repeats that key.
    struct Release {
        xcb_keycode_t keyCode = 0;
        xcb_timestamp_t time = 0;
    };
    std::optional<Release> m_lastRelease;
};

// The hot keys of the display DISPLAY names: X11HotKeys when that display answers, NullGlobalHotKeys
// otherwise.
[[nodiscard]] std::unique_ptr<GlobalHotKeys> createX11HotKeys(QObject* parent = nullptr);
