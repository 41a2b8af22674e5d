#pragma once

#include "platform/linux/music/AlbumLibrary.h"

#include <QString>
#include <QStringList>
#include <atomic>

// Finding the albums of a music folder: every audio file below it (by extension: mp3, flac, ogg, oga, opus,
// m4a, mp4, aac, wav, aiff, wma, ape, wv), hidden files and folders left out, each folder visited once
// however symbolic links lead back to it. Files that cannot be read, or are no audio file after all, are
// logged and left out. Blocks on the disk: run it off the main thread.
namespace AlbumScan {

struct Result {
    AlbumLibrary library;    // sorted
    QStringList directories; // the folder and every folder below it, nearest first
};

// Stops early, with what it found so far, once `stop` is set.
[[nodiscard]] Result scan(const QString& folder, const std::atomic<bool>& stop);

} // namespace AlbumScan
