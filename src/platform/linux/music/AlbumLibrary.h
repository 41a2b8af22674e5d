#pragma once

#include "model/AlbumEntry.h"
#include "platform/linux/music/AudioTags.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// The albums of a music folder, grouped from their tracks' tags: an album is its name and its album artist,
// or its track artist for tracks without one, compared without regard to letter case; the first track found
// names it. Holds for each track only where it is and where it goes in the queue, so that a large library
// stays small. Built on one thread, then only read.
class AlbumLibrary final {
public:
    struct Track {
        qsizetype folder = 0; // index into the album's folders
        QString fileName;
        int disc = 0;
        int number = 0;
    };

    struct Album {
        AlbumEntry entry;
        QStringList folders; // the folders its tracks are in, in the order found
        std::vector<Track> tracks;

        [[nodiscard]] QString path(const Track& track) const;
        // The tracks' paths by disc, then track number, then file name.
        [[nodiscard]] QStringList queue() const;
    };

    // Adds a track found in `folder`; tags without an album name are left out.
    void add(const TrackTags& tags, const QString& folder, const QString& fileName);
    // Sorts the albums by name (localized, ignoring case; albums of equal names stay in the order found).
    // Call once every track is added.
    void sort();

    [[nodiscard]] const std::vector<Album>& albums() const { return m_albums; }
    [[nodiscard]] std::vector<AlbumEntry> entries() const;
    // The album of that name and artist, ignoring case; with no artist, or none of that artist, the first
    // album of that name; null when there is none.
    [[nodiscard]] const Album* find(const QString& name, const QString& artist) const;

private:
    std::vector<Album> m_albums;
    QHash<QString, qsizetype> m_byKey;
};
