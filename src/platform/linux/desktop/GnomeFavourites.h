#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

// The applications pinned to the GNOME dash, as the desktop file ids of the "favorite-apps" setting.
namespace GnomeFavourites {

// A string array in GVariant text form as gsettings prints it: "['a.desktop', 'b.desktop']" or "@as []",
// strings in single or double quotes with backslash escapes, surrounding white space allowed. Anything else
// answers nothing.
[[nodiscard]] std::optional<QStringList> parseStringArray(QStringView gvariantText);

// Runs `program get org.gnome.shell favorite-apps` (no shell) and parses what it prints. A program that is
// missing, fails, prints something else or is still running after `timeout` (it is then killed) gives an
// empty list. Blocks the calling thread for at most about `timeout`.
[[nodiscard]] QStringList readFavourites(const QString& program, std::chrono::milliseconds timeout);

// The favourites through the "gsettings" program on the PATH, waiting at most 2 seconds.
[[nodiscard]] QStringList readFavourites();

} // namespace GnomeFavourites
