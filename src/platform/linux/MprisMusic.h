#pragma once

#include "actions/MusicBridge.h"
#include "platform/linux/LazyDBusConnection.h"
#include "platform/linux/MprisPlayers.h"
#include "platform/linux/MprisProtocol.h"

#include <QObject>
#include <QUrl>
#include <chrono>

class AlbumSource;
class Workspace;
struct AppPaths;

// The music bridge of a Linux desktop: whatever media player (MPRIS) is on the session bus plays, pauses,
// skips, lists and activates its playlists and says what plays; albums come from the music folder and are
// played as a playlist file. The player used is the one that last started playing, else the last to
// appear. The bus is reached on the first question about music, never before; since players are then
// listed asynchronously, `isMusicRunning` answers false until the list is in. Main thread only.
class MprisMusic final : public QObject, public MusicBridge {
    Q_OBJECT
public:
    // Every question to a player gives up after `timeout`. `albums` and `workspace` must outlive this.
    MprisMusic(LazyDBusConnection sessionBus, AlbumSource& albums, Workspace& workspace,
               const AppPaths& paths, std::chrono::milliseconds timeout = std::chrono::seconds(2),
               QObject* parent = nullptr);

    [[nodiscard]] bool isMusicRunning() const override;
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
    // The playlists of the player at `player`, none when it has none or there is no player.
    using PlaylistsFound = std::function<void(const QString& player, std::vector<MprisProtocol::Playlist>)>;

    void control(const QString& method);
    void findPlaylists(PlaylistsFound found);
    void openQueue(const QUrl& queue);

    // Asking whether music runs is the first use that starts following the players.
    mutable MprisPlayers m_players;
    AlbumSource& m_albums;
    Workspace& m_workspace;
    QString m_supportDir;
    QString m_iconsDir;
    std::chrono::milliseconds m_timeout;
};
