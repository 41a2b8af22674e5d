#include "platform/linux/music/AlbumScan.h"

#include "core/Logging.h"
#include "platform/linux/music/AudioTags.h"

#include <QFile>
#include <algorithm>
#include <deque>
#include <dirent.h>
#include <set>
#include <sys/stat.h>

namespace {

bool isAudioFile(const QByteArray& name)
{
    static const char* const extensions[] = {"mp3", "flac", "ogg",  "oga", "opus", "m4a", "mp4",
                                             "aac", "wav",  "aiff", "wma", "ape",  "wv"};
    const qsizetype dot = name.lastIndexOf('.');
    if (dot <= 0)
        return false;
    const QByteArray extension = name.mid(dot + 1);
    return std::any_of(std::begin(extensions), std::end(extensions), [&extension](const char* known) {
        return extension.compare(known, Qt::CaseInsensitive) == 0;
    });
}

struct Entry {
    QByteArray name;
    unsigned char type = DT_UNKNOWN;
};

// The visible entries of a folder by name, so that which track names an album does not depend on the
// order the file system lists them in.
std::optional<std::vector<Entry>> listFolder(const QByteArray& folder)
{
    DIR* const dir = opendir(folder.constData());
    if (!dir)
        return std::nullopt;
    std::vector<Entry> entries;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.')
            entries.push_back({QByteArray(entry->d_name), entry->d_type});
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return entries;
}

} // namespace

AlbumScan::Result AlbumScan::scan(const QString& folder, const std::atomic<bool>& stop)
{
    Result result;
    // Breadth first, so that the folders nearest the top come first in `directories`.
    std::deque<QByteArray> pending{QFile::encodeName(folder)};
    std::set<std::pair<dev_t, ino_t>> visited;
    while (!pending.empty() && !stop.load(std::memory_order_relaxed)) {
        const QByteArray current = std::move(pending.front());
        pending.pop_front();
        struct stat status {};
        if (stat(current.constData(), &status) != 0 || !S_ISDIR(status.st_mode) ||
            !visited.insert({status.st_dev, status.st_ino}).second)
            continue;
        const std::optional<std::vector<Entry>> entries = listFolder(current);
        if (!entries) {
            qCWarning(lcPlatform).noquote()
                << "Marquetto: cannot list the music folder" << QFile::decodeName(current);
            continue;
        }
        const QString currentName = QFile::decodeName(current);
        result.directories << currentName;
        for (const Entry& entry : *entries) {
            const QByteArray path = current + '/' + entry.name;
            unsigned char type = entry.type;
            // Symbolic links are followed; the visited set keeps a link back up from looping.
            if (type == DT_LNK || type == DT_UNKNOWN) {
                struct stat target {};
                if (stat(path.constData(), &target) != 0)
                    type = DT_UNKNOWN;
                else
                    type = S_ISDIR(target.st_mode) ? DT_DIR : S_ISREG(target.st_mode) ? DT_REG : DT_UNKNOWN;
            }
            if (type == DT_DIR) {
                pending.push_back(path);
                continue;
            }
            if (type != DT_REG || !isAudioFile(entry.name))
                continue;
            const std::optional<TrackTags> tags = AudioTags::read(path);
            if (!tags) {
                qCWarning(lcPlatform).noquote() << "Marquetto: left out" << QFile::decodeName(path)
                                                << "of the albums: not a readable audio file";
                continue;
            }
            result.library.add(*tags, currentName, QFile::decodeName(entry.name));
        }
    }
    result.library.sort();
    return result;
}
