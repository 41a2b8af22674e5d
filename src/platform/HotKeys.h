#pragma once

#include <QObject>
#include <cstdint>

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
    // later registration under the same id replaces the earlier one.
    virtual bool registerKey(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t id) = 0;

Q_SIGNALS:
    void pressed(std::uint32_t id);
};

// For a desktop without global keys.
class NullGlobalHotKeys final : public GlobalHotKeys {
public:
    using GlobalHotKeys::GlobalHotKeys;
    bool registerKey(std::uint32_t, std::uint32_t, std::uint32_t) override { return false; }
};
