#include "platform/linux/music/AlbumLibrary.h"

#include <QCollator>
#include <algorithm>

namespace {

QString foldedKey(const QString& name, const QString& artist)
{
    return AlbumEntry{name.toLower(), artist.toLower()}.key();
}

} // namespace

QString AlbumLibrary::Album::path(const Track& track) const
{
    return folders.at(track.folder) + u'/' + track.fileName;
}

QStringList AlbumLibrary::Album::queue() const
{
    std::vector<const Track*> ordered;
    ordered.reserve(tracks.size());
    for (const Track& track : tracks)
        ordered.push_back(&track);
    std::stable_sort(ordered.begin(), ordered.end(), [](const Track* a, const Track* b) {
        if (a->disc != b->disc)
            return a->disc < b->disc;
        if (a->number != b->number)
            return a->number < b->number;
        return a->fileName < b->fileName;
    });
    QStringList paths;
    paths.reserve(static_cast<qsizetype>(ordered.size()));
    for (const Track* track : ordered)
        paths << path(*track);
    return paths;
}

void AlbumLibrary::add(const TrackTags& tags, const QString& folder, const QString& fileName)
{
    if (tags.album.isEmpty())
        return;
    const QString& artist = tags.albumArtist.isEmpty() ? tags.artist : tags.albumArtist;
    const QString key = foldedKey(tags.album, artist);
    auto found = m_byKey.constFind(key);
    if (found == m_byKey.cend()) {
        found = m_byKey.insert(key, static_cast<qsizetype>(m_albums.size()));
        m_albums.push_back({.entry = {tags.album, artist}, .folders = {}, .tracks = {}});
    }
    Album& album = m_albums[static_cast<size_t>(*found)];
    // Tracks come folder by folder, so the folder is nearly always the last one.
    qsizetype folderIndex = album.folders.lastIndexOf(folder);
    if (folderIndex < 0) {
        folderIndex = album.folders.size();
        album.folders << folder;
    }
    album.tracks.push_back({folderIndex, fileName, tags.disc, tags.track});
}

void AlbumLibrary::sort()
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Sort keys once per album: comparing them is far cheaper than collating names on every comparison.
    // Sort keys of the C locale keep letter case whatever the collator is told, hence the folding.
    struct Keyed {
        QCollatorSortKey sortKey;
        qsizetype index;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(m_albums.size());
    for (size_t i = 0; i < m_albums.size(); ++i)
        keyed.push_back({collator.sortKey(m_albums[i].entry.name.toCaseFolded()), static_cast<qsizetype>(i)});
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const Keyed& a, const Keyed& b) { return a.sortKey.compare(b.sortKey) < 0; });
    std::vector<Album> sorted;
    sorted.reserve(m_albums.size());
    for (const Keyed& k : keyed)
        sorted.push_back(std::move(m_albums[static_cast<size_t>(k.index)]));
    m_albums = std::move(sorted);
    for (size_t i = 0; i < m_albums.size(); ++i)
        m_byKey.insert(foldedKey(m_albums[i].entry.name, m_albums[i].entry.artist),
                       static_cast<qsizetype>(i));
}

std::vector<AlbumEntry> AlbumLibrary::entries() const
{
    std::vector<AlbumEntry> entries;
    entries.reserve(m_albums.size());
    for (const Album& album : m_albums)
        entries.push_back(album.entry);
    return entries;
}

const AlbumLibrary::Album* AlbumLibrary::find(const QString& name, const QString& artist) const
{
    if (!artist.isEmpty()) {
        if (const auto found = m_byKey.constFind(foldedKey(name, artist)); found != m_byKey.cend())
            return &m_albums[static_cast<size_t>(*found)];
    }
    const auto named = std::find_if(m_albums.begin(), m_albums.end(), [&name](const Album& album) {
        return album.entry.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    return named == m_albums.end() ? nullptr : &*named;
}
