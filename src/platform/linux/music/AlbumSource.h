#pragma once

#include "platform/MusicBridge.h"

#include <QString>
#include <functional>

// Where the albums of the user's library come from when the music player has no list of them: the music
// folder. Every answer arrives on the main thread, possibly after the call returned; nothing blocks the
// caller.
class AlbumSource {
public:
    virtual ~AlbumSource() = default;

    // The albums, sorted by name; none when there is no music folder or nothing in it is tagged.
    virtual void albums(MusicBridge::AlbumsHandler handler) = 0;
    // Writes the album's cover (its tracks' embedded picture, else the folder's cover image) into the icons
    // folder as "album-UUID.png", at the size of an icon, and answers that file name; nothing when the album
    // has no cover that makes an icon.
    virtual void fetchArtwork(const QString& album, const QString& artist,
                              ArtworkSource::ArtworkHandler handler) = 0;
    // Writes the album's tracks, in disc then track order, as the M3U8 playlist at `playlistPath`
    // (atomically); answers whether it was written: false, after one log line saying why, when there is no
    // such album or no file could be written.
    using WrittenHandler = std::function<void(bool written)>;
    virtual void writeQueue(const QString& album, const QString& artist, const QString& playlistPath,
                            WrittenHandler handler) = 0;
};
