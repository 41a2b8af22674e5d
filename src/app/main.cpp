#include "app/AppDelegate.h"
#include "app/SingleInstance.h"
#include "core/AppId.h"
#include "core/QuitSignals.h"
#include "icons/IconNormalizer.h"
#include "icons/IconVetting.h"
#include "platform/linux/x11/XcbPlatform.h"
#include "platform/qt/MessageBoxAlerts.h"
#include "platform/qt/QtClipboard.h"
#include "services/DeckServices.h"
#include "ui/paint/FirstPaint.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>
#include <csignal>
#include <optional>

int main(int argc, char** argv)
{
    // Log lines carry their own "Marquetto: " prefix; the category would only repeat it.
    qSetMessagePattern(QStringLiteral("%{message}"));
    const bool askedForX = XcbPlatform::prepare();
    QApplication app(argc, argv);
    XcbPlatform::finish(askedForX, QGuiApplication::platformName());
    QApplication::setApplicationName(QStringLiteral("Marquetto"));
    QApplication::setApplicationVersion(QStringLiteral(MARQUETTO_VERSION));
    // Desktops match the deck's windows to its desktop entry by this, for its name and icon.
    QApplication::setDesktopFileName(AppId::id());
    QApplication::setQuitOnLastWindowClosed(false);
    // A program a tile started may close its end of a pipe early; that is no reason for the deck to die.
    std::signal(SIGPIPE, SIG_IGN);
    const QuitSignals quitSignals;

    QString problem;
    const auto paths = AppPaths::fromEnvironment(&problem);
    if (!paths) {
        QTextStream(stderr) << "marquetto: " << problem << '\n';
        return 1;
    }
    // A deck file opened from a file manager; the running deck, whose folder is another, gets its full path.
    const QString deckFile = QApplication::arguments().size() > 1
                                 ? QFileInfo(QApplication::arguments().at(1)).absoluteFilePath()
                                 : QString();
    SingleInstance instance(*paths);
    if (!instance.becomeTheDeck(deckFile))
        return 0;

    // A cover is a full picture already: only its size is brought down to an icon's.
    PlatformServices platform = createPlatformServices(*paths, [](const QByteArray& picture) {
        return IconNormalizer::normalizedPNG(picture, IconNormalizer::Step::capped);
    });
    platform.clipboard = std::make_unique<QtClipboard>();
    platform.alerts = std::make_unique<MessageBoxAlerts>();
    DeckServices::Parts parts;
    parts.vet = &IconVetting::vet;
    DeckServices& services = DeckServices::createForProcess(std::move(platform), std::move(parts));

    AppDelegate delegate(services);
    delegate.applicationDidFinishLaunching();
    if (!deckFile.isEmpty())
        delegate.openDeckFile(deckFile);

    // For whole-process measurements: the time and memory it takes to show the deck, and nothing after. The
    // newest event filter sees the first paint first, so the quit is queued ahead of what waits for it.
    std::optional<FirstPaint> exitAfterFirstPaint;
    if (qEnvironmentVariableIsSet("MARQUETTO_EXIT_AFTER_FIRST_PAINT"))
        exitAfterFirstPaint.emplace([] { QCoreApplication::quit(); }, FirstPaint::Run::atOnce);
    return QApplication::exec();
}
