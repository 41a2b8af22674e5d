#pragma once

#include "platform/linux/music/AlbumLibrary.h"

#include <QByteArray>
#include <optional>

// What an album of the music folder becomes on disk: its cover picture and its play queue. Reads the disk:
// call off the main thread.
namespace AlbumFiles {

// Larger pictures are not taken: no real cover is anywhere near this.
constexpr qint64 maxCoverBytes = 32 * 1024 * 1024;

// The picture embedded in the album's first track (by disc and track number), else the first cover image
// file ("cover", "folder" or "front", as JPEG or PNG, any letter case) in the album's folders; the bytes as
// stored, whatever the image format. Nothing when there is neither.
[[nodiscard]] std::optional<QByteArray> cover(const AlbumLibrary::Album& album);

// The album's tracks, in queue order, as an M3U8 playlist of absolute paths.
[[nodiscard]] QByteArray playlist(const AlbumLibrary::Album& album);

} // namespace AlbumFiles
