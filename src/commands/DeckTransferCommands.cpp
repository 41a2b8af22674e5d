#include "commands/DeckTransferCommands.h"

#include "core/AtomicFile.h"
#include "model/LayoutFile.h"
#include "model/Settings.h"
#include "model/TileCoding.h"
#include "model/TileStore.h"
#include "platform/PlatformWordings.h"
#include "transfer/DeckTransfer.h"

#include <QIODevice>
#include <QTextStream>

namespace DeckTransferCommands {

namespace {

using DeckCommands::fail;
using DeckCommands::misuse;
using DeckCommands::success;

// Up to the first line break; an empty or unreadable answer is "no".
bool confirmed(Context& context)
{
    context.out << "Replace? [y/N] " << Qt::flush;
    const QString answer = QString::fromUtf8(context.in.readLine(64)).trimmed().toLower();
    return answer == u"y" || answer == u"yes";
}

int replaced(Context& context, bool stored)
{
    if (stored)
        return success;
    return fail(context, QStringLiteral("Couldn't save the deck; it is unchanged on disk."));
}

int handToDeck(Context& context, const Pages& pages, DeckTransfer::Grid grid)
{
    const auto answer = context.sendToDeck(
        {{QStringLiteral("replace-deck"), QString::number(grid.columns), QString::number(grid.rows)},
         TileCoding::layoutBytes(pages)});
    if (!answer)
        return fail(context,
                    QStringLiteral("Marquetto is running but did not answer; nothing was imported."));
    context.out << answer->out;
    context.err << answer->err;
    return answer->status;
}

} // namespace

int exportDeck(Context& context, const QStringList& arguments)
{
    if (arguments.size() != 1)
        return misuse(context, QStringLiteral("export takes FILE"));
    if (!context.clock)
        return fail(context, QStringLiteral("Decks can't be exported here."));
    const DeckTransfer::LocalDeck deck{context.store, context.settings, context.iconsDir, *context.clock};
    if (const auto failure = DeckTransfer::exportTo(arguments.first(), deck))
        return fail(context, QStringLiteral("Couldn't export your deck. %1").arg(*failure));
    return success;
}

int importDeck(Context& context, const QStringList& arguments)
{
    QStringList paths = arguments;
    const bool yes = paths.removeAll(QStringLiteral("--yes")) == 1;
    if (paths.size() != 1 || arguments.size() - paths.size() > 1)
        return misuse(context, QStringLiteral("import takes FILE [--yes]"));
    // Read once: what is applied is what was shown, whatever becomes of the file while the question waits.
    const auto bytes = DeckTransfer::readBytes(paths.first());
    const auto prepared = bytes ? DeckTransfer::prepare(*bytes) : Unexpected{bytes.error()};
    if (!prepared) {
        return fail(
            context,
            QStringLiteral("Couldn't import that deck. %1").arg(DeckTransfer::description(prepared.error())));
    }
    if (!context.wordings || !context.storeDeckIcons)
        return fail(context, QStringLiteral("Decks can't be imported here."));
    const DeckTransfer::Confirmation confirmation =
        DeckTransfer::importConfirmation(*prepared, *context.wordings);
    context.out << confirmation.alert.message << '\n' << confirmation.alert.informativeText << '\n';
    if (!yes) {
        if (!context.inIsTerminal)
            return fail(context,
                        QStringLiteral("Nothing was imported: add --yes to import without a question."));
        if (!confirmed(context))
            return success;
    }
    const std::optional<Pages> pages = context.storeDeckIcons(*bytes);
    if (!pages)
        return fail(context, QStringLiteral("Couldn't import that deck. Its icons could not be stored."));
    const DeckTransfer::Grid grid = prepared->deck.grid();
    if (context.sendToDeck)
        return handToDeck(context, *pages, grid);
    DeckTransfer::replaceDeck(*pages, grid, context.store, context.settings);
    return replaced(context, !context.store.isSavePending());
}

int replaceDeck(Context& context, const QStringList& arguments)
{
    bool columnsOk = false;
    bool rowsOk = false;
    const int columns = arguments.value(0).toInt(&columnsOk);
    const int rows = arguments.value(1).toInt(&rowsOk);
    if (arguments.size() != 2 || !columnsOk || !rowsOk)
        return misuse(context, QStringLiteral("replace-deck takes COLUMNS ROWS"));
    const auto bytes = AtomicFile::readAllWithin(context.in, TileStore::maxLayoutBytes);
    const auto contents = bytes ? LayoutFile::decode(*bytes) : std::nullopt;
    if (!contents || contents->isOlderFormat || contents->pages.empty())
        return fail(context, QStringLiteral("The pages on standard input are not a layout."));
    DeckTransfer::replaceDeck(contents->pages, {columns, rows}, context.store, context.settings);
    return replaced(context, !context.store.isSavePending());
}

} // namespace DeckTransferCommands
