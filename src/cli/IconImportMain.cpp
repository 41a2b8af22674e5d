// marquetto-icon-import ICONS-FOLDER PATH: brings a picture into the icons folder in the normal form and
// prints the new file's name. `marquetto-deck icon import` runs it, so that the companion's other commands
// start without loading Qt Gui.
#include "exchange/IconImport.h"

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
