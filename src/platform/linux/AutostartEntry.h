#pragma once

#include "platform/AppPaths.h"

#include <QString>
#include <optional>

// The desktop entry that makes the session start the deck at login, "$XDG_CONFIG_HOME/autostart/
// marquetto.desktop".
namespace AutostartEntry {

[[nodiscard]] QString path(const AppPaths& paths);

// Writes the entry, starting `program`, atomically (on) or removes it (off). Answers nothing on success and a
// readable reason on failure, when nothing changed.
[[nodiscard]] std::optional<QString> set(const AppPaths& paths, const QString& program, bool on);

} // namespace AutostartEntry
