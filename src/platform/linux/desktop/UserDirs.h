#pragma once

#include "core/AppPaths.h"

#include <QString>

// The user's well-known folders as "user-dirs.dirs" in the configuration folder names them (the file
// xdg-user-dirs-update writes and the shell sources).
namespace UserDirs {

// The folder that `key` ("XDG_MUSIC_DIR", "XDG_DOWNLOAD_DIR"…) is set to, or the home folder's
// `fallbackName` when the file is missing, does not set it, or sets it to something that is not a folder
// path ("$HOME/…" or absolute).
[[nodiscard]] QString userDir(const AppPaths& paths, const QString& key, const QString& fallbackName);

} // namespace UserDirs
