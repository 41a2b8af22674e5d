#include "TrashCount.h"

#include <QFile>
#include <dirent.h>

TrashCount TrashCount::of(const QStringList& folders)
{
    TrashCount count;
    for (const QString& folder : folders) {
        // Names only, no file information: a Trash of a hundred thousand items is listed in milliseconds.
        DIR* directory = ::opendir(QFile::encodeName(folder).constData());
        if (!directory) {
            count.allListed = false;
            continue;
        }
        while (const dirent* entry = ::readdir(directory)) {
            if (entry->d_name[0] != '.')
                ++count.items;
        }
        ::closedir(directory);
    }
    return count;
}
