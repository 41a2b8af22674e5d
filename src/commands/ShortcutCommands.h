#pragma once

#include "commands/DeckCommands.h"

namespace ShortcutCommands {

// setup, remove or status: the desktop's own keyboard shortcuts that run the companion. It waits for the
// desktop's settings programs, so only the companion runs it.
int shortcuts(DeckCommands::Context& context, const QStringList& arguments);

} // namespace ShortcutCommands
