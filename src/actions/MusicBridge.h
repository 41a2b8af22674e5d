#pragma once

#include "model/AlbumEntry.h"
#include "model/ArtworkSource.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// What the deck asks of the music player, the store's artwork included. Answers arrive on the main thread,
// possibly after the call returned.
class MusicBridge : public ArtworkSource {
public:
    // Starts playing the album; returns at once.
    virtual void play(const QString& album, const QString& artist) = 0;
    // Skips to the next or back to the previous track of what plays; returns at once.
    virtual void nextTrack() = 0;
    virtual void previousTrack() = 0;

    using PlaylistsHandler = std::function<void(QStringList)>;
    using AlbumsHandler = std::function<void(std::vector<AlbumEntry>)>;
    // The names of the user's playlists, in the player's order; none when no player answers.
    virtual void fetchPlaylists(PlaylistsHandler handler) = 0;
    // The albums of the user's library, sorted by name; none when no player answers.
    virtual void fetchAlbums(AlbumsHandler handler) = 0;
};

// A desktop without a music player we can talk to: nothing runs and no artwork is found.
class NullMusicBridge final : public MusicBridge {
public:
    [[nodiscard]] bool isMusicRunning() const override { return false; }
    void fetchArtwork(const QString&, const QString&, ArtworkHandler handler) override
    {
        handler(std::nullopt);
    }
    void fetchArtwork(const QString&, ArtworkHandler handler) override { handler(std::nullopt); }
    void play(const QString&, const QString&) override {}
    void nextTrack() override {}
    void previousTrack() override {}
    void fetchPlaylists(PlaylistsHandler handler) override { handler({}); }
    void fetchAlbums(AlbumsHandler handler) override { handler({}); }
};
