#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// Where each Linux desktop keeps the name of its wallpaper, read from what its settings programs print and
// from its configuration files. Pure functions: the caller runs the programs and reads the files.
namespace DesktopWallpaper {

enum class Desktop { unknown, gnome, plasma, xfce };

// The desktop XDG_CURRENT_DESKTOP names (a colon-separated list, most specific first, such as
// "ubuntu:GNOME"): the first entry we know how to read.
[[nodiscard]] Desktop desktopFrom(QStringView xdgCurrentDesktop);

// A local path from a "file://" address (%-escapes decoded) or an absolute path; nothing for anything else.
[[nodiscard]] std::optional<QString> localFile(QStringView uriOrPath);

// The text of a string as `gsettings get` prints it ('…' with backslash escapes), or nothing when it does
// not print a string.
[[nodiscard]] std::optional<QString> gsettingsString(QStringView output);

// GNOME's picture from what `gsettings get` printed for `org.gnome.desktop.interface color-scheme` and
// `org.gnome.desktop.background picture-uri` and `picture-uri-dark`: the dark one while the scheme prefers
// dark and it is set.
[[nodiscard]] std::optional<QString> gnomePicture(QStringView colorScheme, QStringView pictureUri,
                                                  QStringView pictureUriDark);

// Plasma's picture from `plasma-org.kde.plasma.desktop-appletsrc`: the image of the first desktop
// containment on the primary screen that shows a single picture, else of the first containment at all. The
// result may name a wallpaper package (a folder).
[[nodiscard]] std::optional<QString> plasmaPicture(QStringView appletsrc);

// Xfce's picture from `xfconf-query -c xfce4-desktop -l -v`: the `last-image` of workspace `workspace` on the
// monitor named `monitor` (when it has none, on the first monitor listed), following the single-workspace
// mode.
[[nodiscard]] std::optional<QString> xfcePicture(QStringView listing, const QString& monitor, int workspace);

} // namespace DesktopWallpaper
