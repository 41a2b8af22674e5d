#include "platform/linux/desktop/ApplicationProgram.h"

#include "platform/linux/desktop/DesktopFile.h"

#include <QStandardPaths>

QString ApplicationProgram::located(const QString& program)
{
    return program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
}

std::optional<QString> ApplicationProgram::of(const QString& applicationPath)
{
    if (!applicationPath.endsWith(QStringLiteral(".desktop")))
        return applicationPath;
    const Expected<DesktopFile, QString> file = DesktopFile::read(applicationPath);
    if (!file)
        return std::nullopt;
    QString program = file->tryExec;
    if (program.isEmpty()) {
        const Expected<QStringList, QString> command = file->commandLine();
        if (!command)
            return std::nullopt;
        program = command->front();
    }
    const QString found = located(program);
    return found.isEmpty() ? std::nullopt : std::optional(found);
}
