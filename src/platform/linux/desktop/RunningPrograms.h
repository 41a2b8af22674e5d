#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// Which processes run a given program, read from the proc file system.
namespace RunningPrograms {

// Processes whose executable is `program`, or whose command starts with it (a script started through its
// interpreter names the script first or second). `program` is compared after resolving symbolic links.
// Processes that vanish or hide their details while being read are left out.
[[nodiscard]] std::vector<qint64> processesRunning(const QString& program,
                                                   const QString& procRoot = QStringLiteral("/proc"));

// The target of the process's executable link and the first two words of its command line: what it runs,
// before resolving. Empty where the process vanished or hides them.
[[nodiscard]] QString executableLink(const QString& processDir);
[[nodiscard]] QStringList leadingArguments(const QString& processDir);

// The programs a process with this executable link and these leading words runs, symbolic links resolved:
// the executable, and those words that are absolute paths.
[[nodiscard]] QStringList programsOf(const QString& executableLink, const QStringList& leadingArguments);

// The pids listed in `procRoot`, ascending.
[[nodiscard]] std::vector<qint64> processIds(const QString& procRoot);

} // namespace RunningPrograms
