#pragma once

#include "core/AppPaths.h"
#include "model/Models.h"
#include "support/DeckProcess.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
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

// The drills' two machines, A and B, on homes of their own sharing one synced folder, with a folder for the
// deck files B imports.
class DrillMachines {
protected:
    // Runs the companion on `machine` and expects it to succeed.
    static DeckRun must(const AppPaths& machine, const QStringList& arguments, const QByteArray& input = {});
    static void syncNow(const AppPaths& machine);

    QTemporaryDir m_homeA;
    QTemporaryDir m_homeB;
    QTemporaryDir m_drive;
    QTemporaryDir m_files;
    AppPaths m_a = AppPaths::forHome(m_homeA.path());
    AppPaths m_b = AppPaths::forHome(m_homeB.path());
};
