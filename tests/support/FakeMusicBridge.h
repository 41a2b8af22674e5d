#pragma once

#include "platform/MusicBridge.h"

#include <QStringList>
#include <vector>

// Holds every artwork and now-playing request until the test answers it.
class FakeMusicBridge final : public MusicBridge {
public:
    bool running = true;
    bool fetchesWithoutStarting = true;
    // "album:NAME/ARTIST", "playlist:NAME", "play:NAME/ARTIST", "play-playlist:NAME", "playpause", "next",
    // "previous", "now-playing" or "now-playing-artwork"
    QStringList requests;
    std::vector<ArtworkHandler> handlers;
    QStringList playlists;
    std::vector<AlbumEntry> albums;

    [[nodiscard]] bool isMusicRunning() const override { return running; }
    [[nodiscard]] bool canFetchWithoutStartingPlayer() const override { return fetchesWithoutStarting; }
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
    void playPlaylist(const QString& name) override
    {
        requests << QStringLiteral("play-playlist:%1").arg(name);
    }
    void playPause() override { requests << QStringLiteral("playpause"); }
    void nextTrack() override { requests << QStringLiteral("next"); }
    void previousTrack() override { requests << QStringLiteral("previous"); }
    void fetchPlaylists(PlaylistsHandler handler) override { handler(playlists); }
    void fetchAlbums(AlbumsHandler handler) override { handler(albums); }
    void fetchNowPlaying(NowPlayingHandler handler) override
    {
        requests << QStringLiteral("now-playing");
        nowPlayingHandlers.push_back(std::move(handler));
    }
    void fetchNowPlayingArtwork(ArtworkFileHandler handler) override
    {
        requests << QStringLiteral("now-playing-artwork");
        artworkFileHandlers.push_back(std::move(handler));
    }

    std::vector<NowPlayingHandler> nowPlayingHandlers;
    std::vector<ArtworkFileHandler> artworkFileHandlers;
};
