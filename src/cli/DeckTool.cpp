#include "DeckTool.h"

#include "actions/ActionRunner.h"
#include "core/BackgroundQueue.h"
#include "core/CanonicalJson.h"
#include "core/PendingCalls.h"
#include "model/Settings.h"
#include "model/TileCoding.h"
#include "model/TileStore.h"

#include <QEventLoop>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonObject>
#include <QTextStream>

namespace {

const QString programName = QStringLiteral("marquetto-deck");

// Connecting a Bluetooth device is answered only once the link is up, which can take many seconds; the
// command does not wait for that long.
constexpr std::chrono::seconds requestGrace{3};

std::optional<int> number(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

QJsonObject slotJson(const Tile& tile, int index)
{
    QJsonObject slot{{QStringLiteral("index"), index}, {QStringLiteral("tile"), TileCoding::encode(tile)}};
    if (tile.action)
        slot.insert(QStringLiteral("defaultLabel"), tile.action->defaultLabel());
    if (const auto tooltip = tile.tooltipText())
        slot.insert(QStringLiteral("tooltip"), *tooltip);
    return slot;
}

} // namespace

DeckTool::DeckTool(TileStore& store, const DeckSettings& settings, RunnerSource runner, QIODevice& in,
                   QTextStream& out, QTextStream& err, DeckRemote* deck)
    : m_store(store)
    , m_settings(settings)
    , m_runner(std::move(runner))
    , m_in(in)
    , m_out(out)
    , m_err(err)
    , m_deck(deck)
{
}

bool DeckTool::belongsToRunningDeck(const QStringList& arguments)
{
    // Running a tile stays here: the companion waits for a scene's end, which must never hold up the deck.
    static const QStringList deckCommands{
        QStringLiteral("print"),   QStringLiteral("set"),  QStringLiteral("backups"),
        QStringLiteral("restore"), QStringLiteral("page"), QStringLiteral("state"),
        QStringLiteral("summon"),  QStringLiteral("fire"),
    };
    return deckCommands.contains(arguments.value(0));
}

QString DeckTool::usage()
{
    return QStringLiteral(
        "Usage:\n"
        "  marquetto-deck print\n"
        "  marquetto-deck set PAGE INDEX TILE-JSON|-\n"
        "  marquetto-deck backups\n"
        "  marquetto-deck restore PATH\n"
        "  marquetto-deck page add\n"
        "  marquetto-deck page delete [PAGE]\n"
        "  marquetto-deck page move FROM TO\n"
        "  marquetto-deck page go PAGE\n"
        "  marquetto-deck run PAGE INDEX\n"
        "  marquetto-deck state\n"
        "  marquetto-deck summon\n"
        "  marquetto-deck fire N\n"
        "Pages and slots are numbered from 0; fire N runs tile N (1 to 9) of the current page,\n"
        "like Control-Alt-N. While Marquetto runs, the commands go to it.\n");
}

int DeckTool::run(const QStringList& arguments)
{
    const QString command = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    if (command == u"print" && rest.isEmpty())
        return print();
    if (command == u"set")
        return set(rest);
    if (command == u"backups" && rest.isEmpty())
        return listBackups();
    if (command == u"restore" && rest.size() == 1)
        return restore(rest.first());
    if (command == u"page")
        return page(rest);
    if (command == u"run")
        return runTile(rest);
    if (command == u"state" && rest.isEmpty())
        return state();
    if (command == u"summon" && rest.isEmpty())
        return summon();
    if (command == u"fire")
        return fire(rest);
    if (command == u"help" || command == u"--help" || command == u"-h") {
        m_out << usage();
        return success;
    }
    return misuse(command.isEmpty() ? QString()
                                    : QStringLiteral("unknown command: %1").arg(arguments.join(u' ')));
}

int DeckTool::print()
{
    QJsonArray pages;
    for (const Page& page : m_store.pages()) {
        QJsonArray slots;
        for (size_t index = 0; index < page.size(); ++index)
            slots.append(slotJson(page[index], static_cast<int>(index)));
        pages.append(slots);
    }
    const QJsonObject deck{
        {QStringLiteral("currentPage"), m_store.currentPage()},
        {QStringLiteral("gridColumns"), m_settings.gridColumns()},
        {QStringLiteral("gridRows"), m_settings.gridRows()},
        {QStringLiteral("pages"), pages},
    };
    m_out << QString::fromUtf8(CanonicalJson::write(deck, CanonicalJson::Style::Pretty)) << '\n';
    return success;
}

int DeckTool::set(const QStringList& arguments)
{
    if (arguments.size() != 3)
        return misuse(QStringLiteral("set takes PAGE INDEX TILE"));
    int status = success;
    const std::optional<Slot> slot = findSlot(arguments[0], arguments[1], status);
    if (!slot)
        return status;
    const auto [page, index] = *slot;

    const auto text = arguments[2] == u"-" ? readInput() : std::optional(arguments[2].toUtf8());
    if (!text)
        return fail(QStringLiteral("The tile on standard input is too large."));
    const auto json = TileCoding::parse(*text);
    if (!json)
        return fail(QStringLiteral("Invalid tile: %1").arg(json.error().description()));
    QJsonValue tileJson = *json;
    if (tileJson.isObject() && !tileJson.toObject().contains(QStringLiteral("id"))) {
        QJsonObject object = tileJson.toObject();
        object.insert(QStringLiteral("id"),
                      TileCoding::encode(m_store.tile(page, index)).value(QStringLiteral("id")));
        tileJson = object;
    }
    const auto tile = TileCoding::decodeTile(tileJson);
    if (!tile)
        return fail(QStringLiteral("Invalid tile: %1").arg(tile.error().description()));
    m_store.set(*tile, page, index);
    return saved();
}

std::optional<DeckTool::Slot> DeckTool::findSlot(const QString& pageText, const QString& indexText,
                                                 int& status)
{
    const auto page = number(pageText);
    const auto index = number(indexText);
    if (!page || !index) {
        status = misuse(QStringLiteral("PAGE and INDEX are numbers"));
        return std::nullopt;
    }
    if (*page < 0 || static_cast<size_t>(*page) >= m_store.pages().size() || *index < 0 ||
        static_cast<size_t>(*index) >= m_store.pages()[static_cast<size_t>(*page)].size()) {
        status = fail(QStringLiteral("There is no slot %1 on page %2.").arg(*index).arg(*page));
        return std::nullopt;
    }
    return Slot{*page, *index};
}

int DeckTool::runTile(const QStringList& arguments)
{
    if (arguments.size() != 2)
        return misuse(QStringLiteral("run takes PAGE INDEX"));
    int status = success;
    const std::optional<Slot> slot = findSlot(arguments[0], arguments[1], status);
    if (!slot)
        return status;
    const Tile tile = m_store.tile(slot->page, slot->index);
    if (!tile.action)
        return fail(QStringLiteral("Empty tile"));

    ActionRunner& runner = m_runner();
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

bool DeckTool::deckIsRunning()
{
    if (m_deck)
        return true;
    m_err << "Marquetto is not running.\n";
    return false;
}

int DeckTool::state()
{
    if (!deckIsRunning())
        return failure;
    m_out << QString::fromUtf8(CanonicalJson::write(m_deck->state(), CanonicalJson::Style::Compact)) << '\n';
    return success;
}

int DeckTool::summon()
{
    if (!deckIsRunning())
        return failure;
    m_deck->toggleSummon();
    return success;
}

int DeckTool::fire(const QStringList& arguments)
{
    bool isNumber = false;
    const int number = arguments.size() == 1 ? arguments.first().toInt(&isNumber) : 0;
    if (!isNumber || number < 1 || number > 9)
        return misuse(QStringLiteral("fire takes N, from 1 to 9"));
    if (!deckIsRunning())
        return failure;
    if (!m_deck->fire(number - 1))
        return fail(QStringLiteral("Empty tile"));
    return success;
}

std::optional<QByteArray> DeckTool::readInput()
{
    return readAll(m_in, TileStore::maxLayoutBytes);
}

std::optional<QByteArray> DeckTool::readAll(QIODevice& in, qint64 limit)
{
    // A pipe hands its bytes over in pieces; read until it closes, but not without end.
    QByteArray bytes;
    while (bytes.size() <= limit) {
        const QByteArray piece = in.read(limit + 1 - bytes.size());
        if (piece.isEmpty())
            return bytes;
        bytes += piece;
    }
    return std::nullopt;
}

int DeckTool::listBackups()
{
    for (const auto& backup : m_store.backups().availableBackups()) {
        const QDateTime local = backup.date.toLocalTime();
        m_out << local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate) << '\t' << backup.path
              << '\n';
    }
    return success;
}

int DeckTool::restore(const QString& path)
{
    if (!m_store.restore(path))
        return fail(QStringLiteral("Couldn't read that backup."));
    return saved();
}

int DeckTool::page(const QStringList& arguments)
{
    const QString verb = arguments.value(0);
    QList<int> numbers;
    for (const QString& argument : arguments.mid(1)) {
        const auto value = number(argument);
        if (!value)
            return misuse(QStringLiteral("page numbers are numbers: %1").arg(argument));
        numbers << *value;
    }
    const int pageCount = static_cast<int>(m_store.pages().size());
    const auto checkPage = [&](int page) { return page >= 0 && page < pageCount; };
    const auto noPage = [&](int page) { return fail(QStringLiteral("There is no page %1.").arg(page)); };

    if (verb == u"add" && numbers.isEmpty()) {
        m_store.addPage();
        return saved();
    }
    if (verb == u"delete" && numbers.size() <= 1) {
        const int page = numbers.value(0, m_store.currentPage());
        if (!checkPage(page))
            return noPage(page);
        if (pageCount < 2)
            return fail(QStringLiteral("The deck's only page can't be deleted."));
        m_store.goToPage(page);
        m_store.deleteCurrentPage();
        return saved();
    }
    if (verb == u"move" && numbers.size() == 2) {
        for (const int page : numbers) {
            if (!checkPage(page))
                return noPage(page);
        }
        m_store.movePage(numbers[0], numbers[1]);
        return saved();
    }
    if (verb == u"go" && numbers.size() == 1) {
        if (!checkPage(numbers[0]))
            return noPage(numbers[0]);
        m_store.goToPage(numbers[0]);
        return success;
    }
    return misuse(QStringLiteral("page takes add, delete [PAGE], move FROM TO or go PAGE"));
}

int DeckTool::saved()
{
    if (m_store.savePendingChange())
        return success;
    return fail(QStringLiteral("Couldn't save the deck; it is unchanged on disk."));
}

int DeckTool::fail(const QString& message)
{
    m_err << programName << ": " << message << '\n';
    return failure;
}

int DeckTool::misuse(const QString& message)
{
    if (!message.isEmpty())
        m_err << programName << ": " << message << '\n';
    m_err << usage();
    return badUsage;
}
