#pragma once

#include "model/Models.h"
#include "platform/AppPaths.h"

#include <QByteArray>
#include <QString>
#include <optional>

// What the crash drills read back after each round.
namespace DrillFiles {

// The whole file; empty when it cannot be read.
[[nodiscard]] QByteArray contentsOf(const QString& path);
// The pages of the machine's layout file; nothing when it does not decode.
[[nodiscard]] std::optional<Pages> layoutOf(const AppPaths& machine);
// How many rounds a drill runs: MARQUETTO_KILL_DRILL_COUNT, or `fallback` when that is not set.
[[nodiscard]] int roundCount(int fallback);

} // namespace DrillFiles
