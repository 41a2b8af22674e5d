#include "LinuxWorkspace.h"

#include "platform/linux/DesktopEntries.h"
#include "platform/linux/GnomeFavourites.h"

LinuxWorkspace::LinuxWorkspace(const AppPaths& paths, FavouritesSource favourites)
    : m_dataDirs(QStringList{paths.dataHome} + paths.dataDirs)
    , m_favourites(std::move(favourites))
{
}

std::optional<QString> LinuxWorkspace::applicationPath(const QString& applicationId) const
{
    return DesktopEntries::find(applicationId, m_dataDirs);
}

QStringList LinuxWorkspace::favouriteApplications() const
{
    return m_favourites ? m_favourites() : QStringList();
}

LinuxWorkspace::FavouritesSource LinuxWorkspace::defaultFavourites()
{
    return [] { return GnomeFavourites::readFavourites(); };
}
