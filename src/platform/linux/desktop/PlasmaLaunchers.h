#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The launchers pinned to Plasma's task managers, from `plasma-org.kde.plasma.desktop-appletsrc`.
namespace PlasmaLaunchers {

// The "launchers" of every task manager applet, panel by panel, in their order there, as Plasma writes them:
// "applications:org.kde.dolphin.desktop", "file:///path/app.desktop" or "preferred://browser". A task
// manager without the setting shows Plasma's own defaults, which are answered in its place.
[[nodiscard]] QStringList read(QStringView appletsrc);

} // namespace PlasmaLaunchers
