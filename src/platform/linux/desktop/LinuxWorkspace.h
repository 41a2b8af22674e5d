#pragma once

#include "core/AppPaths.h"
#include "core/ProcessRunner.h"
#include "platform/Workspace.h"
#include "platform/linux/desktop/EverydayApplications.h"

#include <functional>

// The workspace of a Linux desktop: applications are desktop file ids resolved to their ".desktop" files in
// the user's and the system's data folders, favourites are what the desktop's dash or panel keeps pinned,
// everyday applications are the session's defaults (XDG_CURRENT_DESKTOP, `mimeapps.list`). Files and
// addresses open through gio (or xdg-open); applications start from their desktop file's Exec line, without
// a shell in between.
class LinuxWorkspace final : public Workspace {
public:
    using FavouritesSource = std::function<QStringList()>;

    // `gnomeFavourites` (desktop file ids) is asked on calls of favouriteApplications(); by default it reads
    // GNOME's setting. Plasma's and Xfce's pins are read from their files below the configuration home.
    LinuxWorkspace(const AppPaths& paths, ProcessRunner& processes,
                   FavouritesSource gnomeFavourites = defaultFavourites());

    [[nodiscard]] std::optional<QString> applicationPath(const QString& applicationId) const override;
    [[nodiscard]] QStringList favouriteApplications() const override;
    [[nodiscard]] QStringList everydayApplications() const override;
    void open(const QUrl& url) override;
    bool launchApplication(const QString& applicationPath) override;
    [[nodiscard]] std::vector<qint64> runningProcessesOf(const QString& applicationPath) const override;
    void openWindowAccessSettings() override;

    [[nodiscard]] static FavouritesSource defaultFavourites();

private:
    [[nodiscard]] EverydayApplications::Places places() const;

    QString m_configHome;
    QStringList m_dataDirs;
    ProcessRunner& m_processes;
    FavouritesSource m_favourites;
};
