#pragma once

#include "model/Models.h"

#include <QString>
#include <QStringList>
#include <optional>

// The scripts that arrive with a synced deck. A shared folder may be writable by other people than the user,
// so a script this machine did not already run freely stays off until the user allows it. A script is known
// by the digest of its tile's action: the same action on another tile is the same script, a changed one is a
// new script.
//
// Stateless; safe on any thread.
namespace SyncedScripts {

// The digest of the action when it runs a script: a script of either language, or a scene with a script
// step at any depth. Nothing for any other action.
[[nodiscard]] std::optional<QString> digest(const TileAction& action);
// The scripts held once `incoming` replaces `local`: those of `incoming` that `local` did not run freely,
// because it did not have them or held them already. Sorted, each once.
[[nodiscard]] QStringList held(const Pages& incoming, const Pages& local, const QStringList& heldBefore);
[[nodiscard]] bool isHeld(const Tile& tile, const QStringList& held);
// The tiles of `pages` that stay off.
[[nodiscard]] int heldTileCount(const Pages& pages, const QStringList& held);

} // namespace SyncedScripts
