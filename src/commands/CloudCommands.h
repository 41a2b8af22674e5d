#pragma once

#include "commands/DeckCommands.h"

// `sync on FOLDER [--use-shared | --keep-local] | off | now`: cloud sync from the command line. It runs where
// the deck's engine is (the running deck, else the companion) and waits there for the switch or the pass to
// end. The switch-on question is asked only on a terminal; elsewhere a flag answers it.
namespace CloudCommands {

int sync(DeckCommands::Context& context, const QStringList& arguments);

} // namespace CloudCommands
