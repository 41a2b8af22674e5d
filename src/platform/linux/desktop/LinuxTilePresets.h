#pragma once

#include "core/AppPaths.h"
#include "model/TilePreset.h"

#include <vector>

// The tile library of a Linux desktop: the user's folders from the XDG user directories, applications by
// their desktop entries, the GNOME settings panes, and the usual desktop programs (gio, xclip, udisksctl,
// nmcli…) for the quick actions. Same categories, order, colours and glyphs as the Mac's.
namespace LinuxTilePresets {

// The 26 presets in catalogue order. Reads the user's folder settings and looks for the desktop entries of
// the applications in `paths`' data folders; an application that is not installed gets its usual Debian
// desktop entry, and its preset names the program it needs.
[[nodiscard]] std::vector<TilePreset> catalogue(const AppPaths& paths);

} // namespace LinuxTilePresets
