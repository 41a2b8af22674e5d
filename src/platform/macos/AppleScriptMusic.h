#pragma once

#include "core/AppPaths.h"
#include "core/ProcessRunner.h"
#include "platform/MusicBridge.h"

#include <QObject>
#include <functional>

// The Music application of a Mac, driven by AppleScript through osascript. Fetches run their script on the
// background queue and answer on the main thread; answers still on their way when the bridge is destroyed
// are dropped. Commands are fired and forgotten. Call everything from the main thread; `processes` must
// outlive every fetch.
class AppleScriptMusic final : public MusicBridge {
public:
    // `isMusicRunning` tells whether Music runs now, without starting it. Now-playing artwork is written to
    // the support folder, album and playlist artwork to the icons folder.
    AppleScriptMusic(ProcessRunner& processes, const AppPaths& paths, std::function<bool()> isMusicRunning);

    [[nodiscard]] bool isMusicRunning() const override;
    // Music's scripts start Music.
    [[nodiscard]] bool canFetchWithoutStartingPlayer() const override { return isMusicRunning(); }
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
    void fire(const QString& script);
    // Runs the script, which writes the icon file `name`, and answers the name if the file holds anything.
    void fetchIcon(const QString& name, std::function<QString(const QString& path)> script,
                   ArtworkHandler handler);

    ProcessRunner& m_processes;
    AppPaths m_paths;
    std::function<bool()> m_isMusicRunning;
    // Guards the answers: it goes with the bridge.
    QObject m_lifetime;
};
