#pragma once

#include <QString>

// The system programs tiles hand their work to.
namespace Programs {

inline QString osascript()
{
    return QStringLiteral("/usr/bin/osascript");
}
inline QString shortcuts()
{
    return QStringLiteral("/usr/bin/shortcuts");
}
inline QString pmset()
{
    return QStringLiteral("/usr/bin/pmset");
}

// The shell that runs shell-script tiles: zsh, which the editor promises, where it is installed, and the
// POSIX shell otherwise, so that a script tile still works on a machine without zsh.
[[nodiscard]] QString scriptShell();

} // namespace Programs
