#pragma once

#include <QString>
#include <QStringList>

// The AppleScript texts that drive the Music application, exactly as osascript receives them (line feeds,
// four-space indentation). Names and paths are inserted as AppleScript string literals.
namespace MusicScripts {

// The text as it may stand between double quotes: backslashes doubled, then double quotes escaped.
[[nodiscard]] QString escaped(const QString& text);

// The user playlists' names, one per line: three scripts, each passed after its own "-e".
[[nodiscard]] QStringList playlists();
// The album, album artist and track artist of every track, one section each, one line per track.
[[nodiscard]] QString albums();
// Only the album of every track, for when the full form fails.
[[nodiscard]] QString albumNames();
// Four lines: "playing" or "paused", the track's name, its artist and its database ID.
[[nodiscard]] QString nowPlaying();
// Writes the current track's artwork to the file at `path`.
[[nodiscard]] QString nowPlayingArtwork(const QString& path);
// Writes the artwork of the album's first track to the file at `path`.
[[nodiscard]] QString albumArtwork(const QString& album, const QString& artist, const QString& path);
// Writes the playlist's artwork, or that of its first track, to the file at `path`.
[[nodiscard]] QString playlistArtwork(const QString& playlist, const QString& path);
// Refills the "Marquetto Queue" playlist with the album in disc and track order and plays it.
[[nodiscard]] QString playAlbum(const QString& album, const QString& artist);
[[nodiscard]] QString playPlaylist(const QString& name);
[[nodiscard]] QString playPause();
[[nodiscard]] QString nextTrack();
[[nodiscard]] QString previousTrack();

} // namespace MusicScripts
