#pragma once

#include <QStringList>

// Relaunching the deck: a shell that outlives this process waits a second, then starts the program again.
namespace Restart {

inline constexpr auto shell = "/bin/sh";

// The shell's arguments; the path is quoted so that no character of it means anything to the shell.
[[nodiscard]] QStringList shellArguments(const QString& executable);

} // namespace Restart
