#include "Trash.h"

#include <QFile>
#include <algorithm>
#include <sys/stat.h>
#include <utility>
#include <vector>

QStringList Trash::distinctFolders(const QStringList& candidates)
{
    std::vector<std::pair<dev_t, ino_t>> seen;
    QStringList folders;
    for (const QString& candidate : candidates) {
        struct stat status {};
        if (::stat(QFile::encodeName(candidate).constData(), &status) != 0 || !S_ISDIR(status.st_mode))
            continue;
        const std::pair id{status.st_dev, status.st_ino};
        if (std::find(seen.cbegin(), seen.cend(), id) != seen.cend())
            continue;
        seen.push_back(id);
        folders << candidate;
    }
    return folders;
}
