#include "platform/linux/music/AlbumFiles.h"

#include "core/AtomicFile.h"
#include "platform/linux/music/AudioTags.h"

#include <QDir>

namespace {

// In order of preference.
const QStringList coverNames = {
    QStringLiteral("cover.jpg"),  QStringLiteral("cover.jpeg"),  QStringLiteral("cover.png"),
    QStringLiteral("folder.jpg"), QStringLiteral("folder.jpeg"), QStringLiteral("folder.png"),
    QStringLiteral("front.jpg"),  QStringLiteral("front.jpeg"),  QStringLiteral("front.png"),
};

std::optional<QByteArray> coverFile(const QString& folder)
{
    const QStringList files = QDir(folder).entryList(coverNames, QDir::Files | QDir::Readable);
    for (const QString& wanted : coverNames) {
        for (const QString& file : files) {
            if (file.compare(wanted, Qt::CaseInsensitive) != 0)
                continue;
            if (auto bytes = AtomicFile::read(folder + u'/' + file, AlbumFiles::maxCoverBytes);
                bytes && !bytes->isEmpty())
                return *std::move(bytes);
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<QByteArray> AlbumFiles::cover(const AlbumLibrary::Album& album)
{
    const QStringList queue = album.queue();
    if (!queue.isEmpty()) {
        if (auto embedded = AudioTags::embeddedPicture(queue.first(), maxCoverBytes))
            return embedded;
    }
    for (const QString& folder : album.folders) {
        if (auto file = coverFile(folder))
            return file;
    }
    return std::nullopt;
}

QByteArray AlbumFiles::playlist(const AlbumLibrary::Album& album)
{
    QByteArray text = "#EXTM3U\n";
    for (const QString& path : album.queue()) {
        // One path a line: a name with a line break in it would read back as two bogus entries.
        if (!path.contains(u'\n') && !path.contains(u'\r'))
            text += path.toUtf8() + '\n';
    }
    return text;
}
