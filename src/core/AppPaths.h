#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Where Marquetto keeps its files, derived from HOME and the XDG base-directory variables so that a test or a
// second machine is just a different HOME.
struct AppPaths {
    QString home;
    QString dataHome;     // $XDG_DATA_HOME, or ~/.local/share
    QString configHome;   // $XDG_CONFIG_HOME, or ~/.config
    QStringList dataDirs; // $XDG_DATA_DIRS, or /usr/local/share and /usr/share

    [[nodiscard]] QString supportDir() const { return dataHome + QStringLiteral("/Marquetto"); }
    [[nodiscard]] QString tilesFile() const { return supportDir() + QStringLiteral("/tiles.json"); }
    [[nodiscard]] QString unreadableTilesFile() const
    {
        return supportDir() + QStringLiteral("/tiles.unreadable.json");
    }
    [[nodiscard]] QString iconsDir() const { return supportDir() + QStringLiteral("/Icons"); }
    [[nodiscard]] QString backupsDir() const { return supportDir() + QStringLiteral("/Backups"); }
    [[nodiscard]] QString configDir() const { return configHome + QStringLiteral("/Marquetto"); }
    [[nodiscard]] QString preferencesFile() const
    {
        return configDir() + QStringLiteral("/preferences.json");
    }

    // The paths of this process's environment. Fails with a readable reason when HOME is unset or relative.
    [[nodiscard]] static std::optional<AppPaths> fromEnvironment(QString* error = nullptr);

    // The paths for a given home and XDG variables (empty values take their defaults).
    [[nodiscard]] static AppPaths forHome(const QString& home, const QString& xdgDataHome = {},
                                          const QString& xdgConfigHome = {}, const QString& xdgDataDirs = {});
};
