#pragma once

#include "actions/MusicBridge.h"

#include <QStringList>
#include <vector>

// Holds every artwork request until the test answers it.
class FakeMusicBridge final : public MusicBridge {
public:
    bool running = true;
    QStringList requests; // "album:NAME/ARTIST", "playlist:NAME", "play:NAME/ARTIST", "next" or "previous"
    std::vector<ArtworkHandler> handlers;
    QStringList playlists;
    std::vector<AlbumEntry> albums;

    [[nodiscard]] bool isMusicRunning() const override { return running; }
    void fetchArtwork(const QString& album, const QString& artist, ArtworkHandler handler) override
    {
        requests << QStringLiteral("album:%1/%2").arg(album, artist);
        handlers.push_back(std::move(handler));
    }
    void fetchArtwork(const QString& playlist, ArtworkHandler handler) override
    {
        requests << QStringLiteral("playlist:%1").arg(playlist);
        handlers.push_back(std::move(handler));
    }
    void play(const QString& album, const QString& artist) override
    {
        requests << QStringLiteral("play:%1/%2").arg(album, artist);
    }
    void nextTrack() override { requests << QStringLiteral("next"); }
    void previousTrack() override { requests << QStringLiteral("previous"); }
    void fetchPlaylists(PlaylistsHandler handler) override { handler(playlists); }
    void fetchAlbums(AlbumsHandler handler) override { handler(albums); }
};
