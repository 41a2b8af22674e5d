#include "platform/linux/desktop/MimeDefaults.h"

#include "core/AppPaths.h"

#include <QFile>

namespace {

// A list of defaults is a few kilobytes; anything far larger is not one.
constexpr qint64 maxListBytes = 1024 * 1024;

QStringList folders(const char* variable, const QString& fallback)
{
    QStringList out;
    for (const QString& folder : qEnvironmentVariable(variable, fallback).split(u':', Qt::SkipEmptyParts))
        if (folder.startsWith(u'/'))
            out.append(folder);
    return out;
}

void addDefaults(const QString& file, const QString& mimeType, QStringList& out)
{
    QFile list(file);
    if (list.size() > maxListBytes || !list.open(QIODevice::ReadOnly))
        return;
    bool inDefaults = false;
    for (const QByteArray& raw : list.read(maxListBytes).split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'[')) {
            inDefaults = line == QLatin1String("[Default Applications]");
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inDefaults || equals < 0 || line.left(equals).trimmed() != mimeType)
            continue;
        for (const QString& named : line.mid(equals + 1).split(u';')) {
            const QString id = named.trimmed();
            if (!id.isEmpty() && !out.contains(id))
                out.append(id);
        }
    }
}

} // namespace

namespace MimeDefaults {

QStringList listFiles()
{
    const std::optional<AppPaths> paths = AppPaths::fromEnvironment();
    QStringList places;
    if (paths)
        places.append(paths->configHome);
    places.append(folders("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg")));
    if (paths) {
        places.append(paths->dataHome + QStringLiteral("/applications"));
        for (const QString& folder : paths->dataDirs)
            places.append(folder + QStringLiteral("/applications"));
    }
    const QStringList desktops =
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower().split(u':', Qt::SkipEmptyParts);
    QStringList files;
    for (const QString& place : places) {
        for (const QString& desktop : desktops)
            files.append(place + u'/' + desktop + QStringLiteral("-mimeapps.list"));
        files.append(place + QStringLiteral("/mimeapps.list"));
    }
    return files;
}

QStringList defaultApplications(const QString& mimeType, const QStringList& listFiles)
{
    QStringList out;
    for (const QString& file : listFiles)
        addDefaults(file, mimeType, out);
    return out;
}

} // namespace MimeDefaults
