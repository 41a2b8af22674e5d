#include "actions/SharedActions.h"
#include "cli/DeckChannel.h"
#include "cli/DeckTool.h"
#include "model/Settings.h"
#include "model/TileStore.h"
#include "platform/ServiceRegistry.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>

namespace {

// The tile of `set PAGE INDEX -` comes on standard input; it is read before the command knows whether the
// deck or this process carries it out. One byte more than a message may hold tells that it was too large.
QByteArray readInputFor(const QStringList& arguments, QFile& in)
{
    if (arguments.value(0) != u"set" || arguments.value(3) != u"-")
        return {};
    QByteArray bytes;
    while (bytes.size() <= DeckChannel::maxMessageBytes) {
        const QByteArray piece = in.read(DeckChannel::maxMessageBytes + 1 - bytes.size());
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    return bytes;
}

} // namespace

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
        return DeckTool::failure;
    }

    QFile stdinFile;
    if (!stdinFile.open(stdin, QIODevice::ReadOnly)) {
        err << "marquetto-deck: standard input is not readable\n";
        return DeckTool::failure;
    }
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    QByteArray input = readInputFor(arguments, stdinFile);
    if (input.size() > DeckChannel::maxMessageBytes) {
        err << "marquetto-deck: The tile on standard input is too large.\n";
        return DeckTool::failure;
    }
    if (DeckTool::belongsToRunningDeck(arguments)) {
        if (const auto answer = DeckChannel::send(*paths, {arguments, input})) {
            out << answer->out;
            err << answer->err;
            return answer->status;
        }
    }

    ServiceRegistry::install(createPlatformServices(*paths));
    QBuffer bufferedInput(&input);
    bufferedInput.open(QIODevice::ReadOnly);
    QIODevice& in = arguments.value(0) == u"set" ? static_cast<QIODevice&>(bufferedInput) : stdinFile;
    DeckTool tool(TileStore::shared(), DeckSettings::shared(), &SharedActions::runner, in, out, err);
    return tool.run(arguments);
}
