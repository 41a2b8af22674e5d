#pragma once

#include "platform/MusicBridge.h"
#include "platform/linux/dbus/LazyDBusConnection.h"
#include "platform/linux/music/ArtworkDownloads.h"
#include "platform/linux/music/MprisPlayers.h"
#include "platform/linux/music/MprisPlaylists.h"
#include "platform/linux/music/MprisProtocol.h"

#include <QObject>
#include <QUrl>
#include <chrono>

class AlbumSource;
class Workspace;
struct AppPaths;

// The music bridge of a Linux desktop: whatever media player (MPRIS) is on the session bus plays, pauses,
// skips and says what plays; the playlists are those of every player that offers some; albums come from the
// music folder and are played as a playlist file. The player used is the one that last started playing, else
// the last to appear. The bus is reached on the first question about music, never before; players are then
// listed asynchronously: commands and fetches wait for that list, `isMusicRunning` answers false until it is
// in. Artwork a player names by web address is downloaded. Main thread only.
class MprisMusic final : public QObject, public MusicBridge {
    Q_OBJECT
public:
    // Every question to a player gives up after `timeout`. `albums` and `workspace` must outlive this.
    MprisMusic(LazyDBusConnection sessionBus, AlbumSource& albums, Workspace& workspace,
               const AppPaths& paths, std::chrono::milliseconds timeout = std::chrono::seconds(2),
               QObject* parent = nullptr);

    [[nodiscard]] bool isMusicRunning() const override;
    // Album covers come from the music folder, playlists only from players already on the bus.
    [[nodiscard]] bool canFetchWithoutStartingPlayer() const override { return true; }
    void fetchArtwork(const QString& album, const QString& artist, ArtworkHandler handler) override;
    void fetchArtwork(const QString& playlist, ArtworkHandler handler) override;
    void play(const QString& album, const QString& artist) override;
    void playPlaylist(const QString& name) override;
    void playPause() override;
    void nextTrack() override;
    void previousTrack() override;
    void fetchPlaylists(PlaylistsHandler handler) override;
    void fetchAlbums(AlbumsHandler handler) override;
    void fetchNowPlaying(NowPlayingHandler handler) override;
    void fetchNowPlayingArtwork(ArtworkFileHandler handler) override;

private:
    // The properties of the current player's player interface; nothing when there is no player or it does
    // not answer in the expected form.
    using PropertiesFound = std::function<void(const std::optional<QVariantMap>&)>;

    void control(const QString& method);
    void fetchPlayerProperties(PropertiesFound found);
    // The playlists of every player, the current player's first; none without players.
    void findPlaylists(MprisPlaylists::Handler found);
    void openQueue(const QUrl& queue);

    // Asking whether music runs is the first use that starts following the players.
    mutable MprisPlayers m_players;
    AlbumSource& m_albums;
    Workspace& m_workspace;
    QString m_supportDir;
    QString m_iconsDir;
    std::chrono::milliseconds m_timeout;
    ArtworkDownloads m_downloads;
};
