#pragma once

#include "model/AlbumEntry.h"
#include "platform/MusicBridge.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Reads what the Music scripts print. Output of any other form reads as the empty answer.
namespace MusicScriptOutput {

// One name per line, trimmed of spaces and tabs, blank lines left out; Music's order and duplicates kept.
[[nodiscard]] QStringList playlists(const QString& output);

// The albums of the album script's output (or of the names-only script's), in the order of their first
// track. Artists are known only when every section has a line per track: the album artist, or the track
// artist where the album artist is blank; otherwise they are empty. Albums that differ only in letter case
// (name and artist) are listed once, as first seen.
[[nodiscard]] std::vector<AlbumEntry> albums(const QString& output);

// The now-playing script's answer; nothing when it has fewer than four lines.
[[nodiscard]] std::optional<NowPlayingInfo> nowPlaying(const QString& output);

} // namespace MusicScriptOutput
