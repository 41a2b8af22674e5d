#pragma once

#include "platform/linux/desktop/EverydayApplications.h"

#include <QString>
#include <QStringList>
#include <functional>

// The applications the user keeps pinned on a Linux desktop: GNOME's dash, Plasma's task managers or Xfce's
// panel launchers, whichever pins some, the current desktop's own first.
namespace DesktopFavourites {

struct Sources {
    std::function<QStringList()> gnome; // desktop file ids of GNOME's "favorite-apps"
    QString configHome;                 // where Plasma's and Xfce's files are
    EverydayApplications::Places places;
};

// The ".desktop" files of the first desktop whose pinned applications include one that is installed, in their
// order there; pins that name nothing installed are left out. Empty where no desktop pins any.
[[nodiscard]] QStringList find(const Sources& sources);

} // namespace DesktopFavourites
