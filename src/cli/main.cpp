#include "cli/IconImportHelper.h"
#include "commands/DeckChannel.h"
#include "commands/DeckCommands.h"
#include "commands/DeckLock.h"
#include "core/AtomicFile.h"
#include "services/DeckServices.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("marquetto-deck"));
    // Log lines carry their own "Marquetto: " prefix; the category would only repeat it.
    qSetMessagePattern(QStringLiteral("%{message}"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QString problem;
    const auto paths = AppPaths::fromEnvironment(&problem);
    if (!paths) {
        err << "marquetto-deck: " << problem << '\n';
        return DeckCommands::failure;
    }

    QFile stdinFile;
    if (!stdinFile.open(stdin, QIODevice::ReadOnly)) {
        err << "marquetto-deck: standard input is not readable\n";
        return DeckCommands::failure;
    }
    QStringList arguments = QCoreApplication::arguments().mid(1);
    // The tile of `set PAGE INDEX -` is read before it is known whether the deck or this process stores it.
    const bool tileOnInput = arguments.value(0) == u"set" && arguments.value(3) == u"-";
    const auto read =
        tileOnInput ? AtomicFile::readAllWithin(stdinFile, DeckChannel::maxMessageBytes) : QByteArray();
    if (!read) {
        err << "marquetto-deck: The tile on standard input is too large.\n";
        return DeckCommands::failure;
    }
    QByteArray input = *read;
    // The running deck has a working folder of its own.
    if (arguments.value(0) == u"export" && arguments.size() == 2)
        arguments[1] = QFileInfo(arguments[1]).absoluteFilePath();
    const DeckCommands::Command* command = DeckCommands::find(arguments.value(0));
    if (command && command->runsInDeck) {
        if (const auto answer = DeckChannel::send(*paths, {arguments, input})) {
            out << answer->out;
            err << answer->err;
            return answer->status;
        }
        // A deck that is only slow would carry out the command later as well, and one that is stuck would
        // overwrite the files with its next save: the files are the running deck's alone.
        if (DeckLock::isHeld(*paths)) {
            err << "Marquetto is running but did not answer.\n";
            return DeckCommands::failure;
        }
    }

    DeckServices& services = DeckServices::createForProcess(createPlatformServices(*paths), {});
    // The companion's own commands that change the deck leave the files to the running deck.
    const bool deckRuns = DeckLock::isHeld(*paths);
    const auto sendToDeck = [&paths](const DeckChannel::Request& request) {
        return DeckChannel::send(*paths, request);
    };
    QBuffer bufferedInput(&input);
    bufferedInput.open(QIODevice::ReadOnly);
    QIODevice& in = arguments.value(0) == u"set" ? static_cast<QIODevice&>(bufferedInput) : stdinFile;
    DeckCommands::Context context = services.commandContext(in, out, err);
    context.importIcon = [iconsDir = paths->iconsDir()](const QString& path) {
        return IconImportHelper::importImage(iconsDir, path);
    };
    context.inIsTerminal = isatty(STDIN_FILENO) == 1;
    context.storeDeckIcons = [iconsDir = paths->iconsDir()](const QByteArray& deckFile) {
        return IconImportHelper::storeDeckIcons(iconsDir, deckFile);
    };
    if (deckRuns)
        context.sendToDeck = sendToDeck;
    context.companion = services.companionProgram();
    return DeckCommands::run(context, arguments);
}
