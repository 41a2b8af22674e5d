#pragma once

#include <QString>

// A playable Ogg Vorbis file of thirty seconds of silence with real tags, made by `oggenc`, so that a real
// player still plays it when a test looks. Answers why it could not be written, or nothing.
namespace SilentOgg {

struct Track {
    QString title;
    QString artist;
    QString album;
    int number = 1;
    QString albumArtist; // none when empty
};

[[nodiscard]] QString write(const QString& path, const Track& track);

} // namespace SilentOgg
