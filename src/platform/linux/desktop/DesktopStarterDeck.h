#pragma once

#include "model/Models.h"
#include "platform/Workspace.h"

#include <vector>

// The tiles a first launch on a Linux desktop starts with. Stateless; every call asks the workspace anew.
namespace DesktopStarterDeck {

// At most `limit` tiles: launch tiles for the applications pinned to the desktop's dash, task manager or
// panel, in their order there; where it pins none, launch tiles for its everyday applications followed by a
// lock-screen tile (none when it has none of them). This program's own entry is never a tile.
[[nodiscard]] std::vector<Tile> tiles(int limit, const Workspace& workspace);

} // namespace DesktopStarterDeck
