#include "app/AppDelegate.h"
#include "app/SingleInstance.h"
#include "platform/ServiceRegistry.h"
#include "platform/qt/MessageBoxAlerts.h"
#include "platform/qt/QtClipboard.h"

#include <QApplication>
#include <QTextStream>
#include <csignal>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marquetto"));
    QApplication::setApplicationVersion(QStringLiteral(MARQUETTO_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    // Log lines carry their own "Marquetto: " prefix; the category would only repeat it.
    qSetMessagePattern(QStringLiteral("%{message}"));
    // A program a tile started may close its end of a pipe early; that is no reason for the deck to die.
    std::signal(SIGPIPE, SIG_IGN);

    QString problem;
    const auto paths = AppPaths::fromEnvironment(&problem);
    if (!paths) {
        QTextStream(stderr) << "marquetto: " << problem << '\n';
        return 1;
    }
    SingleInstance instance(*paths);
    if (!instance.becomeTheDeck())
        return 0;

    PlatformServices services = createPlatformServices(*paths);
    services.clipboard = std::make_unique<QtClipboard>();
    services.alerts = std::make_unique<MessageBoxAlerts>();
    ServiceRegistry::install(std::move(services));

    AppDelegate delegate(*paths);
    delegate.applicationDidFinishLaunching();
    return QApplication::exec();
}
