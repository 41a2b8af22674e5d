#pragma once

#include "platform/AppPaths.h"
#include "platform/Workspace.h"

#include <functional>

// The workspace of a Linux desktop: applications are desktop file ids resolved to their ".desktop" files in
// the user's and the system's data folders, favourites are what the desktop's dash keeps pinned.
class LinuxWorkspace final : public Workspace {
public:
    using FavouritesSource = std::function<QStringList()>;

    // `favourites` is asked on every call of favouriteApplications(); by default it reads GNOME's setting.
    explicit LinuxWorkspace(const AppPaths& paths, FavouritesSource favourites = defaultFavourites());

    [[nodiscard]] std::optional<QString> applicationPath(const QString& applicationId) const override;
    [[nodiscard]] QStringList favouriteApplications() const override;

    [[nodiscard]] static FavouritesSource defaultFavourites();

private:
    QStringList m_dataDirs;
    FavouritesSource m_favourites;
};
