#pragma once

#include "model/AlbumEntry.h"
#include "model/ArtworkSource.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// Turns a picture found for an album into the bytes of its icon file; nothing when it cannot.
using ArtworkShaper = std::function<std::optional<QByteArray>(const QByteArray& picture)>;

// What the music player says plays now.
struct NowPlayingInfo {
    bool isPlaying = false;
    QString track;
    QString artist;
    // The player's own identifier of the track: a new one means new artwork may be due.
    QString trackID;
    // The address of the track's picture where the player names one; players that name it late, or
    // change it under one track id, make new artwork due as well. Defaulted so that players without
    // addresses need not mention it.
    QString artworkAddress = {};

    friend bool operator==(const NowPlayingInfo&, const NowPlayingInfo&) = default;
};

// What the deck asks of the music player, the store's artwork included. Answers arrive on the main thread,
// possibly after the call returned; a player that is missing, slow or answers nonsense gives the empty
// answer (no list entries, no now-playing answer, no file), never an error.
class MusicBridge : public ArtworkSource {
public:
    // Whether a music player runs now; asking never starts one.
    [[nodiscard]] virtual bool isMusicRunning() const = 0;
    // Starts playing the album; returns at once.
    virtual void play(const QString& album, const QString& artist) = 0;
    // Starts playing the user's playlist with this name; returns at once.
    virtual void playPlaylist(const QString& name) = 0;
    // Toggles between playing and paused; returns at once.
    virtual void playPause() = 0;
    // Skips to the next or back to the previous track of what plays; returns at once.
    virtual void nextTrack() = 0;
    virtual void previousTrack() = 0;

    using PlaylistsHandler = std::function<void(QStringList)>;
    using AlbumsHandler = std::function<void(std::vector<AlbumEntry>)>;
    // The names of the user's playlists, in the player's order; none when no player answers.
    virtual void fetchPlaylists(PlaylistsHandler handler) = 0;
    // The albums of the user's library, sorted by name; none when no player answers.
    virtual void fetchAlbums(AlbumsHandler handler) = 0;

    using NowPlayingHandler = std::function<void(std::optional<NowPlayingInfo>)>;
    // What plays now; nothing when no player answers in the expected form.
    virtual void fetchNowPlaying(NowPlayingHandler handler) = 0;

    // The path of a local image file holding the current track's artwork, or nothing. The file is the
    // player's or ours; it may be replaced by the next fetch, so read it when it arrives.
    using ArtworkFileHandler = std::function<void(std::optional<QString> path)>;
    virtual void fetchNowPlayingArtwork(ArtworkFileHandler handler) = 0;
};

// A desktop without a music player we can talk to: nothing runs and no artwork is found.
class NullMusicBridge final : public MusicBridge {
public:
    [[nodiscard]] bool isMusicRunning() const override { return false; }
    [[nodiscard]] bool canFetchWithoutStartingPlayer() const override { return true; }
    void fetchArtwork(const QString&, const QString&, ArtworkHandler handler) override
    {
        handler(std::nullopt);
    }
    void fetchArtwork(const QString&, ArtworkHandler handler) override { handler(std::nullopt); }
    void play(const QString&, const QString&) override {}
    void playPlaylist(const QString&) override {}
    void playPause() override {}
    void nextTrack() override {}
    void previousTrack() override {}
    void fetchPlaylists(PlaylistsHandler handler) override { handler({}); }
    void fetchAlbums(AlbumsHandler handler) override { handler({}); }
    void fetchNowPlaying(NowPlayingHandler handler) override { handler(std::nullopt); }
    void fetchNowPlayingArtwork(ArtworkFileHandler handler) override { handler(std::nullopt); }
};
