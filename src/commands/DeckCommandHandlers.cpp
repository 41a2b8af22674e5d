#include "commands/DeckCommandHandlers.h"

#include "actions/ActionRunner.h"
#include "band/BandCatalogue.h"
#include "commands/DeckRemote.h"
#include "core/AtomicFile.h"
#include "core/BackgroundQueue.h"
#include "core/CanonicalJson.h"
#include "core/PendingCalls.h"
#include "deck/TileLibrary.h"
#include "model/Settings.h"
#include "model/TileCoding.h"
#include "model/TileStore.h"
#include "transfer/SyncedScripts.h"

#include <QEventLoop>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonObject>
#include <QTextStream>
#include <algorithm>

namespace DeckCommandHandlers {

namespace {

using DeckCommands::fail;
using DeckCommands::misuse;
using DeckCommands::success;

// Connecting a Bluetooth device is answered only once the link is up, which can take many seconds; the
// command does not wait for that long.
constexpr std::chrono::seconds requestGrace{3};

std::optional<int> number(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

QJsonObject slotJson(const Tile& tile, int index, const ApplicationNames& names)
{
    QJsonObject slot{{QStringLiteral("index"), index}, {QStringLiteral("tile"), TileCoding::encode(tile)}};
    if (tile.action)
        slot.insert(QStringLiteral("defaultLabel"), tile.action->defaultLabel(names));
    if (const auto tooltip = tile.tooltipText(names))
        slot.insert(QStringLiteral("tooltip"), *tooltip);
    return slot;
}

// A command given the wrong number of arguments is, as far as the user can tell, a command we don't know.
int unknown(Context& context, const QString& name, const QStringList& arguments)
{
    return misuse(context,
                  QStringLiteral("unknown command: %1").arg((QStringList{name} + arguments).join(u' ')));
}

struct Slot {
    int page = 0;
    int index = 0;
};

// The slot named by the arguments, or nothing with `status` set to the exit status already reported.
std::optional<Slot> findSlot(Context& context, const QString& pageText, const QString& indexText, int& status)
{
    const auto page = number(pageText);
    const auto index = number(indexText);
    if (!page || !index) {
        status = misuse(context, QStringLiteral("PAGE and INDEX are numbers"));
        return std::nullopt;
    }
    const Pages& pages = context.store.pages();
    if (*page < 0 || static_cast<size_t>(*page) >= pages.size() || *index < 0 ||
        static_cast<size_t>(*index) >= pages[static_cast<size_t>(*page)].size()) {
        status = fail(context, QStringLiteral("There is no slot %1 on page %2.").arg(*index).arg(*page));
        return std::nullopt;
    }
    return Slot{*page, *index};
}

// Writes what the command changed at once instead of waiting for the store's debounce.
int saved(Context& context)
{
    if (context.store.savePendingChange())
        return success;
    return fail(context, QStringLiteral("Couldn't save the deck; it is unchanged on disk."));
}

bool deckIsRunning(Context& context)
{
    if (context.deck)
        return true;
    context.err << "Marquetto is not running.\n";
    return false;
}

} // namespace

int print(Context& context, const QStringList& arguments)
{
    if (!arguments.isEmpty())
        return unknown(context, QStringLiteral("print"), arguments);
    QJsonArray pages;
    for (const Page& page : context.store.pages()) {
        QJsonArray slots;
        for (size_t index = 0; index < page.size(); ++index)
            slots.append(slotJson(page[index], static_cast<int>(index), context.names));
        pages.append(slots);
    }
    const QJsonObject deck{
        {QStringLiteral("currentPage"), context.store.currentPage()},
        {QStringLiteral("gridColumns"), context.settings.gridColumns()},
        {QStringLiteral("gridRows"), context.settings.gridRows()},
        {QStringLiteral("pages"), pages},
    };
    context.out << QString::fromUtf8(CanonicalJson::write(deck, CanonicalJson::Style::Pretty)) << '\n';
    return success;
}

int set(Context& context, const QStringList& arguments)
{
    if (arguments.size() != 3)
        return misuse(context, QStringLiteral("set takes PAGE INDEX TILE"));
    int status = success;
    const std::optional<Slot> slot = findSlot(context, arguments[0], arguments[1], status);
    if (!slot)
        return status;
    const auto [page, index] = *slot;

    const auto text = arguments[2] == u"-" ? AtomicFile::readAllWithin(context.in, TileStore::maxLayoutBytes)
                                           : std::optional(arguments[2].toUtf8());
    if (!text)
        return fail(context, QStringLiteral("The tile on standard input is too large."));
    const auto json = TileCoding::parse(*text);
    if (!json)
        return fail(context, QStringLiteral("Invalid tile: %1").arg(json.error().description()));
    QJsonValue tileJson = *json;
    if (tileJson.isObject() && !tileJson.toObject().contains(QStringLiteral("id"))) {
        QJsonObject object = tileJson.toObject();
        object.insert(QStringLiteral("id"),
                      TileCoding::encode(context.store.tile(page, index)).value(QStringLiteral("id")));
        tileJson = object;
    }
    const auto tile = TileCoding::decodeTile(tileJson);
    if (!tile)
        return fail(context, QStringLiteral("Invalid tile: %1").arg(tile.error().description()));
    context.store.set(*tile, page, index);
    return saved(context);
}

int backups(Context& context, const QStringList& arguments)
{
    if (!arguments.isEmpty())
        return unknown(context, QStringLiteral("backups"), arguments);
    for (const auto& backup : context.store.backups().availableBackups()) {
        const QDateTime local = backup.date.toLocalTime();
        context.out << local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate) << '\t'
                    << backup.path << '\n';
    }
    return success;
}

int restore(Context& context, const QStringList& arguments)
{
    if (arguments.size() != 1)
        return unknown(context, QStringLiteral("restore"), arguments);
    if (!context.store.restore(arguments.first()))
        return fail(context, QStringLiteral("Couldn't read that backup."));
    return saved(context);
}

int page(Context& context, const QStringList& arguments)
{
    TileStore& store = context.store;
    const QString verb = arguments.value(0);
    QList<int> numbers;
    for (const QString& argument : arguments.mid(1)) {
        const auto value = number(argument);
        if (!value)
            return misuse(context, QStringLiteral("page numbers are numbers: %1").arg(argument));
        numbers << *value;
    }
    const int pageCount = static_cast<int>(store.pages().size());
    const auto checkPage = [&](int page) { return page >= 0 && page < pageCount; };
    const auto noPage = [&](int page) {
        return fail(context, QStringLiteral("There is no page %1.").arg(page));
    };

    if (verb == u"add" && numbers.isEmpty()) {
        store.addPage();
        return saved(context);
    }
    if (verb == u"delete" && numbers.size() <= 1) {
        const int page = numbers.value(0, store.currentPage());
        if (!checkPage(page))
            return noPage(page);
        if (pageCount < 2)
            return fail(context, QStringLiteral("The deck's only page can't be deleted."));
        store.goToPage(page);
        store.deleteCurrentPage();
        return saved(context);
    }
    if (verb == u"move" && numbers.size() == 2) {
        for (const int page : numbers) {
            if (!checkPage(page))
                return noPage(page);
        }
        store.movePage(numbers[0], numbers[1]);
        return saved(context);
    }
    if (verb == u"go" && numbers.size() == 1) {
        if (!checkPage(numbers[0]))
            return noPage(numbers[0]);
        store.goToPage(numbers[0]);
        return success;
    }
    return misuse(context, QStringLiteral("page takes add, delete [PAGE], move FROM TO or go PAGE"));
}

int run(Context& context, const QStringList& arguments)
{
    if (arguments.size() != 2)
        return misuse(context, QStringLiteral("run takes PAGE INDEX"));
    int status = success;
    const std::optional<Slot> slot = findSlot(context, arguments[0], arguments[1], status);
    if (!slot)
        return status;
    const Tile tile = context.store.tile(slot->page, slot->index);
    if (!tile.action)
        return fail(context, QStringLiteral("Empty tile"));
    if (SyncedScripts::isHeld(tile, context.settings.cloudDeckHeldScripts()))
        return fail(context,
                    QStringLiteral("That tile's script came with the synced deck and stays off until "
                                   "you allow it: sync allow-scripts"));

    ActionRunner& runner = context.runner();
    runner.execute(*tile.action);
    if (runner.isSceneInFlight()) {
        QEventLoop untilSceneEnds;
        QObject::connect(&runner, &ActionRunner::sceneInFlightChanged, &untilSceneEnds, [&](bool inFlight) {
            if (!inFlight)
                untilSceneEnds.quit();
        });
        untilSceneEnds.exec();
    }
    // Work handed to the background (switching the output, Bluetooth) has to be under way before we exit,
    // and requests sent to other services answered, or at least well on their way.
    BackgroundQueue::waitForDone();
    PendingCalls::waitForAll(requestGrace);
    return success;
}

int state(Context& context, const QStringList& arguments)
{
    if (!arguments.isEmpty())
        return unknown(context, QStringLiteral("state"), arguments);
    if (!deckIsRunning(context))
        return DeckCommands::failure;
    context.out << QString::fromUtf8(
                       CanonicalJson::write(context.deck->state(), CanonicalJson::Style::Compact))
                << '\n';
    return success;
}

int summon(Context& context, const QStringList& arguments)
{
    if (!arguments.isEmpty())
        return unknown(context, QStringLiteral("summon"), arguments);
    if (!deckIsRunning(context))
        return DeckCommands::failure;
    context.deck->toggleSummon();
    return success;
}

int fire(Context& context, const QStringList& arguments)
{
    bool isNumber = false;
    const int number = arguments.size() == 1 ? arguments.first().toInt(&isNumber) : 0;
    if (!isNumber || number < 1 || number > 9)
        return misuse(context, QStringLiteral("fire takes N, from 1 to 9"));
    if (!deckIsRunning(context))
        return DeckCommands::failure;
    if (!context.deck->fire(number - 1))
        return fail(context, QStringLiteral("Empty tile"));
    return success;
}

int edit(Context& context, const QStringList& arguments)
{
    const QString mode = arguments.size() == 1 ? arguments.first() : QString();
    if (mode != u"on" && mode != u"off")
        return misuse(context, QStringLiteral("edit takes on or off"));
    if (!deckIsRunning(context))
        return DeckCommands::failure;
    context.deck->setEditing(mode == u"on");
    return success;
}

int settings(Context& context, const QStringList& arguments)
{
    const QString tab = arguments.value(0);
    const auto& tabs = DeckRemote::settingsTabs;
    const auto named = std::find_if(tabs.begin(), tabs.end(), [&tab](QStringView title) {
        return title.compare(tab, Qt::CaseInsensitive) == 0;
    });
    if (arguments.size() > 1 || (!tab.isEmpty() && named == tabs.end())) {
        QStringList titles;
        for (const QStringView title : tabs)
            titles.append(title.toString());
        return misuse(context, QStringLiteral("settings takes no tab or one of %1").arg(titles.join(u", ")));
    }
    if (!deckIsRunning(context))
        return DeckCommands::failure;
    context.deck->openSettings(named == tabs.end() ? QString() : named->toString());
    return success;
}

int presets(Context& context, const QStringList& arguments)
{
    if (!arguments.isEmpty())
        return unknown(context, QStringLiteral("presets"), arguments);
    if (!context.library)
        return fail(context, QStringLiteral("The tile library is not available here."));
    QJsonArray entries;
    for (const TilePreset& preset : context.library->presets()) {
        // Without an id, the tile can go straight to `set`, which keeps the slot's.
        QJsonObject tile = TileCoding::encode(Tile{{}, preset.label, preset.icon, preset.action});
        tile.remove(QStringLiteral("id"));
        QJsonObject entry{
            {QStringLiteral("id"), preset.id},
            {QStringLiteral("name"), preset.name},
            {QStringLiteral("category"), preset.category},
            {QStringLiteral("tile"), tile},
        };
        const std::optional<QString> missing = context.library->missingProgram(preset);
        entry.insert(QStringLiteral("available"), !missing);
        if (missing)
            entry.insert(QStringLiteral("needs"), *missing);
        entries.append(entry);
    }
    context.out << QString::fromUtf8(CanonicalJson::write(entries, CanonicalJson::Style::Pretty)) << '\n';
    return success;
}

int icon(Context& context, const QStringList& arguments)
{
    if (arguments.size() != 2 || arguments.first() != u"import")
        return unknown(context, QStringLiteral("icon"), arguments);
    if (!context.importIcon)
        return fail(context, QStringLiteral("Images can't be imported here."));
    const std::optional<QString> name = context.importIcon(arguments.last());
    if (!name)
        return fail(context, QStringLiteral("Couldn't import that image."));
    context.out << *name << '\n';
    return success;
}

int band(Context& context, const QStringList& arguments)
{
    if (arguments.isEmpty()) {
        if (!deckIsRunning(context))
            return DeckCommands::failure;
        context.out << QString::fromUtf8(
                           CanonicalJson::write(context.deck->band(), CanonicalJson::Style::Compact))
                    << '\n';
        return success;
    }
    if (arguments.value(0) != u"set")
        return unknown(context, QStringLiteral("band"), arguments);
    QList<BandModule> modules;
    for (const QString& name : arguments.mid(1)) {
        const std::optional<BandModule> module = fromRawValue<BandModule>(name);
        if (!module) {
            QStringList known;
            for (const BandModule each : BandCatalogue::allCases())
                known << rawValue(each);
            context.err << "marquetto-deck: \"" << name << "\" is no band module. The band modules are:\n  "
                        << known.join(u' ') << '\n';
            return DeckCommands::badUsage;
        }
        modules << *module;
    }
    context.settings.setBandModules(modules);
    if (!context.settings.isSaved())
        return fail(context,
                    QStringLiteral("Couldn't save the band; the preferences on disk are unchanged."));
    return success;
}

int help(Context& context, const QStringList&)
{
    context.out << DeckCommands::usage();
    return success;
}

} // namespace DeckCommandHandlers
