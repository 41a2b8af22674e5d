#include "core/AppPaths.h"

#include <QDir>

namespace {

// Relative XDG paths are invalid and must be ignored.
QString absoluteOr(const QString& value, const QString& fallback)
{
    return !value.isEmpty() && QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : fallback;
}

} // namespace

AppPaths AppPaths::forHome(const QString& home, const QString& xdgDataHome, const QString& xdgConfigHome,
                           const QString& xdgDataDirs)
{
    AppPaths paths;
    paths.home = QDir::cleanPath(home);
    paths.dataHome = absoluteOr(xdgDataHome, paths.home + QStringLiteral("/.local/share"));
    paths.configHome = absoluteOr(xdgConfigHome, paths.home + QStringLiteral("/.config"));
    for (const QString& dir : xdgDataDirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dir))
            paths.dataDirs << QDir::cleanPath(dir);
    }
    if (paths.dataDirs.isEmpty())
        paths.dataDirs = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    return paths;
}

std::optional<AppPaths> AppPaths::fromEnvironment(QString* error)
{
    const QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty() || !QDir::isAbsolutePath(home)) {
        if (error)
            *error = home.isEmpty() ? QStringLiteral("HOME is not set.")
                                    : QStringLiteral("HOME is not an absolute path: %1").arg(home);
        return std::nullopt;
    }
    return forHome(home, qEnvironmentVariable("XDG_DATA_HOME"), qEnvironmentVariable("XDG_CONFIG_HOME"),
                   qEnvironmentVariable("XDG_DATA_DIRS"));
}
