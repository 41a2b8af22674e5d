#pragma once

#include "model/TilePreset.h"

#include <vector>

// The Mac's tile library: Finder, Safari and Chrome windows, AppleScripts to Finder, the screencapture,
// pbcopy and say programs and the panes of System Settings.
namespace MacTilePresets {

// The 26 presets in catalogue order; paths below the home folder start at `home`.
[[nodiscard]] std::vector<TilePreset> catalogue(const QString& home);

} // namespace MacTilePresets
