#pragma once

#include "core/ProcessRunner.h"

#include <QObject>
#include <QStringList>
#include <functional>

// The names of the user's Shortcuts, as the Shortcuts program lists them.
namespace ShortcutsBridge {

// Asks the program in the background and hands the names, in the program's order, to `completion` on the
// main thread (through `context`, which may be gone by then: the answer is then dropped). No program, no
// names.
void fetchShortcuts(ProcessRunner& processes, QObject* context, std::function<void(QStringList)> completion);

// The names in the program's output: one per line, trimmed of spaces and tabs, blank lines left out.
[[nodiscard]] QStringList parseShortcutList(const QString& output);

} // namespace ShortcutsBridge
