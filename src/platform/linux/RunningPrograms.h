#pragma once

#include <QString>
#include <vector>

// Which processes run a given program, read from the proc file system.
namespace RunningPrograms {

// Processes whose executable is `program`, or whose command starts with it (a script started through its
// interpreter names the script first or second). `program` is compared after resolving symbolic links.
// Processes that vanish or hide their details while being read are left out.
[[nodiscard]] std::vector<qint64> processesRunning(const QString& program,
                                                   const QString& procRoot = QStringLiteral("/proc"));

} // namespace RunningPrograms
