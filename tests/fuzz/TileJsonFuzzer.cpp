#include "FuzzBytes.h"
#include "FuzzCheck.h"
#include "FuzzDeck.h"
#include "model/TileCoding.h"

// A tile from the companion, `marquetto-deck set PAGE INDEX -` with the tile on standard input, carried out
// as the running deck does. A tile the deck took must come back unchanged from its layout form.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    startCoreApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzDeck deck(fuzzBytes(data, size));
    const int status = DeckCommands::runInDeck(deck.context(), {QStringLiteral("set"), QStringLiteral("0"),
                                                                QStringLiteral("0"), QStringLiteral("-")});
    if (status != DeckCommands::success)
        return 0;
    const Tile tile = deck.store().tile(0, 0);
    const auto again = TileCoding::decodeTile(TileCoding::encode(tile));
    if (!again || *again != tile) {
        fuzzFail("a tile the deck took does not survive its layout form");
    }
    return 0;
}
