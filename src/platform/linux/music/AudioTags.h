#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// What an audio file's tags say about the album it belongs to; numbers the tags lack are 0.
struct TrackTags {
    QString album;
    QString albumArtist;
    QString artist;
    int disc = 0;
    int track = 0;
};

// Tags and embedded pictures of audio files (MP3, FLAC, Ogg, Opus, MP4/M4A, WAV, AIFF, WavPack, APE, WMA),
// read with TagLib without decoding any audio. Safe to call from any thread, one file per call.
namespace AudioTags {

// The file's tags, trimmed; nothing when the file cannot be opened or is no audio file TagLib knows.
// `path` is in the file system's encoding.
[[nodiscard]] std::optional<TrackTags> read(const QByteArray& path);

// The front cover embedded in the file (ID3v2 APIC frames, FLAC and Ogg pictures, MP4 "covr"), else its
// first embedded picture, as the bytes stored; nothing when there is none, or it is larger than `maxBytes`.
[[nodiscard]] std::optional<QByteArray> embeddedPicture(const QString& path, qint64 maxBytes);

} // namespace AudioTags
