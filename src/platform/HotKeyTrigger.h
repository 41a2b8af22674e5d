#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// The words desktops use for a key and its modifiers in their shortcut settings: "CTRL+ALT+space".
namespace HotKeyTrigger {

// The trigger of a key of the deck's table (a Mac virtual key code with Carbon modifier bits); none for a key
// outside the table.
[[nodiscard]] std::optional<QString> text(std::uint32_t keyCode, std::uint32_t modifiers);

} // namespace HotKeyTrigger
