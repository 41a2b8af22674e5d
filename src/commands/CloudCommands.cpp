#include "commands/CloudCommands.h"

#include "model/Settings.h"
#include "model/TileStore.h"
#include "sync/CloudDeck.h"
#include "transfer/SyncedScripts.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QIODevice>
#include <QTextStream>

using namespace DeckCommands;

namespace {

std::optional<CloudDeck::Side> askOnTerminal(Context& context, const Alert& question)
{
    context.out << question.message << '\n'
                << question.informativeText << '\n'
                << "Use the shared deck (s), keep this one (k) or cancel? [s/k/N] " << Qt::flush;
    const QString answer = QString::fromUtf8(context.in.readLine(64)).trimmed().toLower();
    if (answer == u"s")
        return CloudDeck::Side::cloud;
    if (answer == u"k")
        return CloudDeck::Side::local;
    return std::nullopt;
}

// The engine answers on the main thread's event loop; a command waits for it here.
void waitUntil(const std::function<bool()>& done)
{
    QEventLoop loop;
    while (!done())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
}

// A pass that took the shared deck, or sent one that had not been saved, is only done once the deck is on
// disk: the store keeps a failed save pending, and a full or read-only disk must not pass for a synced deck.
int answerPass(Context& context, const CloudDeck& cloud)
{
    context.out << cloud.status() << '\n';
    if (const int held =
            SyncedScripts::heldTileCount(context.store.pages(), context.settings.cloudDeckHeldScripts())) {
        context.out << held << (held == 1 ? " tile's script is" : " tiles' scripts are")
                    << " off until you allow them: sync allow-scripts\n";
    }
    if (!context.store.savePendingChange())
        return fail(context, QStringLiteral("Couldn't save the deck; it is unchanged on disk."));
    return success;
}

int switchOn(Context& context, CloudDeck& cloud, QStringList arguments)
{
    std::optional<CloudDeck::Side> preset;
    if (arguments.removeAll(QStringLiteral("--use-shared")) > 0)
        preset = CloudDeck::Side::cloud;
    if (arguments.removeAll(QStringLiteral("--keep-local")) > 0)
        preset = preset ? std::nullopt : std::optional(CloudDeck::Side::local);
    if (arguments.size() != 1)
        return misuse(context,
                      QStringLiteral("sync on takes FOLDER and at most one of --use-shared, --keep-local"));
    const QFileInfo folder(arguments.first());
    if (!folder.isDir())
        return fail(context, QStringLiteral("%1 is not a folder.").arg(arguments.first()));
    context.settings.setCloudDeckFolder(folder.absoluteFilePath());

    std::optional<Alert> unanswered;
    bool finished = false;
    auto choose = [&](const Alert& question) -> std::optional<CloudDeck::Side> {
        if (preset)
            return preset;
        if (context.inIsTerminal)
            return askOnTerminal(context, question);
        unanswered = question;
        return std::nullopt;
    };
    cloud.setCloudDeck(true, choose, [&finished](bool) { finished = true; });
    waitUntil([&] { return finished; });
    if (unanswered) {
        return fail(context, unanswered->message + u' ' + unanswered->informativeText +
                                 QStringLiteral(" Add --use-shared or --keep-local to answer."));
    }
    if (!cloud.isOn())
        return fail(context, QStringLiteral("Sync stays off."));
    waitUntil([&] { return !cloud.isRunning(); });
    return answerPass(context, cloud);
}

} // namespace

int CloudCommands::sync(Context& context, const QStringList& arguments)
{
    if (!context.cloud)
        return fail(context, QStringLiteral("The deck can't be synced here."));
    CloudDeck& cloud = *context.cloud;
    const QString verb = arguments.value(0);
    if (verb == u"on")
        return switchOn(context, cloud, arguments.mid(1));
    const QString usage = QStringLiteral("sync takes on FOLDER, off, now or allow-scripts");
    if (arguments.size() != 1)
        return misuse(context, usage);
    if (verb == u"off") {
        cloud.turnOff();
        return success;
    }
    if (verb == u"allow-scripts") {
        cloud.allowScripts();
        return success;
    }
    if (verb != u"now")
        return misuse(context, usage);
    if (!cloud.isOn())
        return fail(context, QStringLiteral("Sync is off; turn it on with: sync on FOLDER"));
    bool passed = false;
    const auto connection = QObject::connect(&cloud, &CloudDeck::passFinished, [&passed] { passed = true; });
    cloud.check();
    waitUntil([&] { return passed && !cloud.isRunning(); });
    QObject::disconnect(connection);
    return answerPass(context, cloud);
}
