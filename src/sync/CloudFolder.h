#pragma once

#include <QString>
#include <QStringList>

// The places of cloud sync inside the synced folder (`driveRoot`), and the files that sync clients keep
// beside ours. The deck lives in driveRoot/Marquetto/Deck.marquetto on every platform.
namespace CloudFolder {

[[nodiscard]] QString syncFolder(const QString& driveRoot);
[[nodiscard]] QString syncFile(const QString& driveRoot);
// The file iCloud Drive leaves in place of a sync file that is in the cloud but not yet on this disk.
[[nodiscard]] QString placeholder(const QString& driveRoot);

// The iCloud Drive folder of a Mac user.
[[nodiscard]] QString macDriveRoot(const QString& home);

// A sync client's temporary or conflict file: a download in progress or a copy it kept aside. Such a file is
// never read as the deck and never removed: it is the client's, and a conflict copy may be all that is left
// of another machine's edit.
[[nodiscard]] bool isSyncClientFile(const QString& fileName);
// Whether a sync client is writing the sync file right now: one of its temporary files for it sits in the
// sync folder.
[[nodiscard]] bool isBeingDownloaded(const QString& driveRoot);

// The folders of the common sync clients that exist in `home`, in the order they are offered.
[[nodiscard]] QStringList offeredFolders(const QString& home);

} // namespace CloudFolder
