#pragma once

#include "core/AppPaths.h"
#include "model/Models.h"
#include "platform/Workspace.h"

#include <QString>
#include <vector>

// The tiles a first launch on the Mac starts with: the applications the user already keeps in the dock, in
// dock order, as application tiles. Stateless; every call reads the dock's file anew. Problems of any kind (a
// missing or unreadable file, an unexpected structure, applications that no longer exist) give fewer tiles or
// none, never an error.
namespace DockStarterDeck {

// The dock's preference file below the user's home folder.
[[nodiscard]] QString defaultDockPlist(const AppPaths& paths);

// At most `limit` launch tiles for the applications of the dock preference file `dockPlist` (XML or binary
// property list). Bundle identifiers are resolved through `workspace` first; `ownBundleIdentifier` is never a
// tile. Applications found inside a "/Cryptexes/" path are given their copy in `applicationsDir` when that
// copy has the same bundle identifier.
[[nodiscard]] std::vector<Tile> tiles(int limit, const QString& dockPlist, const Workspace& workspace,
                                      const QString& ownBundleIdentifier,
                                      const QString& applicationsDir = QStringLiteral("/Applications"));

} // namespace DockStarterDeck
