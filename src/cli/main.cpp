#include "actions/SharedActions.h"
#include "cli/DeckTool.h"
#include "model/Settings.h"
#include "model/TileStore.h"
#include "platform/ServiceRegistry.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>

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
    ServiceRegistry::install(createPlatformServices(*paths));

    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) {
        err << "marquetto-deck: standard input is not readable\n";
        return DeckTool::failure;
    }
    DeckTool tool(TileStore::shared(), DeckSettings::shared(), &SharedActions::runner, in, out, err);
    return tool.run(QCoreApplication::arguments().mid(1));
}
