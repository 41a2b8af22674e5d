#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Desktop file ids ("org.gnome.Nautilus.desktop") and the ".desktop" files they name, after the XDG desktop
// entry rules: a file below "<data dir>/applications/" is known by its path relative to that folder with
// every
// "/" written as "-", and the first data dir that has the id wins.
namespace DesktopEntries {

// Whether the text can be a desktop file id at all: not empty, no "/" and ending in ".desktop".
[[nodiscard]] bool isValidId(QStringView desktopId);

// The ".desktop" file for the id, looked up below "<dir>/applications/" for each of `dataDirs` in order (the
// user's data home first, then the system data dirs). Only regular files are answered; an invalid id or one
// that names no file answers nothing. Never leaves the applications folders through the id.
[[nodiscard]] std::optional<QString> find(QStringView desktopId, const QStringList& dataDirs);

} // namespace DesktopEntries
