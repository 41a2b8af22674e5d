// marquetto-icon-import ICONS-FOLDER PATH: brings a picture into the icons folder in the normal form and
// prints the new file's name. `marquetto-deck icon import` runs it, so that the companion's other commands
// start without loading Qt Gui.
// marquetto-icon-import --deck ICONS-FOLDER: stores the vetted icons of the deck file on its standard input
// and prints its pages, pointing at them, in the layout file's form; `marquetto-deck import` runs it with the
// bytes it read and showed.
#include "core/AtomicFile.h"
#include "core/Clock.h"
#include "icons/IconImport.h"
#include "icons/IconVetting.h"
#include "model/TileCoding.h"
#include "transfer/DeckTransfer.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv)
{
    // Pictures may hold text (SVG) whose fonts need a GUI application; there is no window to show.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Log lines carry their own "Marquetto: " prefix; the category would only repeat it.
    qSetMessagePattern(QStringLiteral("%{message}"));
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 3 && arguments.at(1) == u"--deck") {
        QFile input;
        const auto bytes = input.open(stdin, QIODevice::ReadOnly)
                               ? AtomicFile::readAllWithin(input, DeckTransfer::maxFileBytes)
                               : std::nullopt;
        const auto prepared =
            bytes ? DeckTransfer::prepare(*bytes) : Unexpected{DeckTransfer::TransferError::unreadable};
        if (!prepared)
            return 1;
        const Pages pages =
            DeckTransfer::storeIcons(prepared->deck, arguments.at(2), SystemClock().now(), &IconVetting::vet);
        QTextStream(stdout) << QString::fromUtf8(TileCoding::layoutBytes(pages));
        return 0;
    }
    if (arguments.size() != 3) {
        QTextStream(stderr) << "Usage: marquetto-icon-import ICONS-FOLDER PATH\n";
        return 2;
    }
    const std::optional<QString> name = IconImport(arguments.at(1)).importImage(arguments.at(2));
    if (!name)
        return 1;
    QTextStream(stdout) << *name << '\n';
    return 0;
}
