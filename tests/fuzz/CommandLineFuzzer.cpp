#include "FuzzCheck.h"
#include "FuzzDeck.h"
#include "FuzzReader.h"

#include <cstdio>

// The companion's command lines, carried out on a deck of their own: what the deck carries out when its
// channel hands it the line, and what the companion carries out by itself when no deck runs. The first byte
// picks the command, as the deck's own names are what a person types; the rest are its arguments and what
// it reads on standard input. Running a tile reaches the desktop, so that one command is only parsed by
// the deck, which refuses it.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    startCoreApplication(argc, argv);
    // `restore /dev/stdin` and the like must find nothing to wait for.
    if (!std::freopen("/dev/null", "r", stdin))
        return 1;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzReader reader(data, size);
    const auto& table = DeckCommands::table();
    const std::size_t pick = reader.byte() % (table.size() + 1);
    QStringList arguments{pick < table.size() ? table[pick].name : reader.text()};
    arguments << reader.texts(5);
    const bool inDeck = reader.byte() % 2 == 0;
    FuzzDeck deck(reader.rest());
    if (inDeck || arguments.first() == u"run")
        (void)DeckCommands::runInDeck(deck.context(), arguments);
    else
        (void)DeckCommands::run(deck.context(), arguments);
    return 0;
}
