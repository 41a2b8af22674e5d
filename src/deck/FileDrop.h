#pragma once

#include "model/Models.h"

#include <optional>

class QMimeData;

// What a drop from another application (a file manager, a browser) makes of the tile it lands on.
namespace FileDrop {

// The action for the first item of the drop's `text/uri-list`; the other items are not looked at. A desktop
// entry or a program (ProgramFile) launches it, any other existing file or folder opens it, an http or https
// address opens in the browser; anything else (another scheme, a missing file, no list) gives nothing.
[[nodiscard]] std::optional<TileAction> actionFor(const QMimeData& data);

// The tile that takes the place of `replaced`: the same slot id, no label, the automatic icon.
[[nodiscard]] Tile tileFor(const Tile& replaced, const TileAction& action);

} // namespace FileDrop
