#pragma once

#include "core/AppPaths.h"

#include <QString>
#include <QStringList>
#include <optional>

// The desktop entry that makes the session start the deck at login, "$XDG_CONFIG_HOME/autostart/" and the
// program's desktop entry name (earlier versions named it "marquetto.desktop", which counts as on too, and
// goes when the entry is set).
namespace AutostartEntry {

[[nodiscard]] QString path(const AppPaths& paths);
[[nodiscard]] bool isOn(const AppPaths& paths);

// Writes the entry, starting `program`, atomically (on) or removes it (off). Answers nothing on success and a
// readable reason on failure, when nothing changed.
// The program the session should start at login: `running` when it is an installed copy (a bin folder beside
// share/marquetto), else the first of `installed` that is one (a build tree's deck starts the installed
// deck), else `running` all the same.
[[nodiscard]] QString programToStart(const QString& running, const QStringList& installed);

[[nodiscard]] std::optional<QString> set(const AppPaths& paths, const QString& program, bool on);

} // namespace AutostartEntry
