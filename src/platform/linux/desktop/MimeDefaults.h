#pragma once

#include <QString>
#include <QStringList>

// The applications the desktop prefers for a type of file, as its `mimeapps.list` files say.
namespace MimeDefaults {

// The `mimeapps.list` files of this session, most important first: in the user's and then the system's
// configuration and data folders, each current desktop's own list before the shared one.
[[nodiscard]] QStringList listFiles();

// The desktop ids the files name as defaults for `mimeType`, most preferred first, without repeats. Files
// that are missing or unreadable are passed over.
[[nodiscard]] QStringList defaultApplications(const QString& mimeType, const QStringList& listFiles);

} // namespace MimeDefaults
