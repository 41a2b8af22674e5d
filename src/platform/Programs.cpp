#include "Programs.h"

#include <QFileInfo>

QString Programs::scriptShell()
{
    static const QString shell = QFileInfo(QStringLiteral("/bin/zsh")).isExecutable()
                                     ? QStringLiteral("/bin/zsh")
                                     : QStringLiteral("/bin/sh");
    return shell;
}
