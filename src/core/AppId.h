#pragma once

#include <QString>

// The program's name on the desktop, set by the build: its desktop entry is named after it, desktops match
// its windows to that entry, and portals know the program by it.
namespace AppId {

[[nodiscard]] QString id();
// The file name of the program's desktop entry.
[[nodiscard]] QString desktopEntry();

} // namespace AppId
