#include "DeckProcess.h"

#include <QProcess>

void startDeck(QProcess& process, const QString& home, const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS"})
        environment.remove(QLatin1String(name));
    if (!home.isEmpty())
        environment.insert(QStringLiteral("HOME"), home);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(MARQUETTO_DECK_PATH), arguments);
}

DeckRun runDeck(const QString& home, const QStringList& arguments, const QByteArray& input)
{
    QProcess process;
    startDeck(process, home, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}
