#include "platform/linux/calendar/EdsCalendarModule.h"

#include "core/Logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace EdsCalendarModule {

QStringList candidates(const QString& programDirectory)
{
    const QDir beside(programDirectory);
    return {
        beside.filePath(QLatin1String(fileName)),
        QDir::cleanPath(beside.filePath(QStringLiteral(MARQUETTO_MODULE_DIR "/") + QLatin1String(fileName)))};
}

std::unique_ptr<CalendarStore> load(Workspace& workspace)
{
    QStringList problems;
    for (const QString& path : candidates(QCoreApplication::applicationDirPath())) {
        if (!QFileInfo::exists(path))
            continue;
        // Kept loaded for good: the store's code lives in it as long as the deck runs.
        QLibrary module(path);
        module.setLoadHints(QLibrary::PreventUnloadHint);
        if (const auto entry = reinterpret_cast<Entry>(module.resolve(entryPoint)))
            return std::unique_ptr<CalendarStore>(entry(workspace));
        problems << module.errorString();
    }
    qCWarning(lcPlatform).noquote() << "Marquetto: the desktop's calendars are not read:"
                                    << (problems.isEmpty()
                                            ? QStringLiteral("no %1 beside the deck or where it is installed")
                                                  .arg(QLatin1String(fileName))
                                            : problems.join(QStringLiteral("; ")));
    return nullptr;
}

} // namespace EdsCalendarModule
