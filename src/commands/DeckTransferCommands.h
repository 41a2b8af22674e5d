#pragma once

#include "commands/DeckCommands.h"

// The companion's commands that move the whole deck through a deck file.
namespace DeckTransferCommands {

using DeckCommands::Context;

// FILE: writes the deck to the file.
int exportDeck(Context& context, const QStringList& arguments);
// FILE [--yes]: reads and checks the file, prints the confirmation and asks on a terminal (`--yes` does not
// ask; without a terminal and without it nothing is applied), then stores the icons and replaces the deck,
// in the running deck when there is one.
int importDeck(Context& context, const QStringList& arguments);
// COLUMNS ROWS, the pages on the input in the layout file's form: replaces the deck with pages whose icons
// are stored already. What `import` hands to the running deck.
int replaceDeck(Context& context, const QStringList& arguments);

} // namespace DeckTransferCommands
