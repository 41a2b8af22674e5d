#pragma once

#include "core/ProcessRunner.h"
#include "platform/AppPaths.h"
#include "platform/Workspace.h"

#include <functional>

// The workspace of a Linux desktop: applications are desktop file ids resolved to their ".desktop" files in
// the user's and the system's data folders, favourites are what the desktop's dash keeps pinned. Files and
// addresses open through gio (or xdg-open); applications start from their desktop file's Exec line, without
// a shell in between.
class LinuxWorkspace final : public Workspace {
public:
    using FavouritesSource = std::function<QStringList()>;

    // `favourites` is asked on every call of favouriteApplications(); by default it reads GNOME's setting.
    LinuxWorkspace(const AppPaths& paths, ProcessRunner& processes,
                   FavouritesSource favourites = defaultFavourites());

    [[nodiscard]] std::optional<QString> applicationPath(const QString& applicationId) const override;
    [[nodiscard]] QStringList favouriteApplications() const override;
    void open(const QUrl& url) override;
    bool launchApplication(const QString& applicationPath) override;
    [[nodiscard]] std::vector<qint64> runningProcessesOf(const QString& applicationPath) const override;
    void openWindowAccessSettings() override;

    [[nodiscard]] static FavouritesSource defaultFavourites();

private:
    QStringList m_dataDirs;
    ProcessRunner& m_processes;
    FavouritesSource m_favourites;
};
