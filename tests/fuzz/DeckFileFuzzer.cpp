#include "FuzzBytes.h"
#include "FuzzCheck.h"
#include "FuzzDeck.h"
#include "FuzzGuiApplication.h"
#include "icons/IconVetting.h"
#include "model/LayoutFile.h"
#include "transfer/DeckTransfer.h"

#include <QFile>
#include <QFileInfo>

// A deck file as `marquetto-deck import` and the deck's import take it: read and checked, its icons vetted
// and stored, and its pages put in place of a deck. A deck read must come back unchanged from the file
// written for it, the pages point only at icons that were stored, and the next launch reads the deck that
// was put in place.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    startGuiApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzDeck local;
    const FuzzHome& home = FuzzHome::shared();
    const QString path = home.writeFile(QStringLiteral("My Deck.marquetto"), fuzzBytes(data, size));
    const auto prepared = DeckTransfer::read(path);
    if (!prepared)
        return 0;
    const auto again = DeckTransfer::decode(DeckTransfer::encode(prepared->deck));
    if (!again || *again != prepared->deck)
        fuzzFail("a deck read does not survive being written again");

    const QString iconsDir = home.paths().iconsDir();
    const QDateTime now(QDate(2026, 3, 5), QTime(14, 7, 9), Qt::UTC);
    const Pages pages = DeckTransfer::storeIcons(prepared->deck, iconsDir, now, &IconVetting::vet);
    for (const QString& name : DeckTransfer::customIconNames(pages)) {
        if (!QFileInfo(iconsDir + u'/' + name).isFile())
            fuzzFail("a tile points at an icon that was not stored");
    }

    DeckTransfer::replaceDeck(pages, prepared->deck.grid(), local.store(), local.settings());
    QFile layout(home.paths().tilesFile());
    const auto onDisk =
        layout.open(QIODevice::ReadOnly) ? LayoutFile::decode(layout.readAll()) : std::nullopt;
    if (!onDisk || onDisk->pages != local.store().pages())
        fuzzFail("the next launch does not read the deck that was imported");
    return 0;
}
