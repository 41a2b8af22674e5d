#pragma once

#include "core/Expected.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <optional>

namespace AtomicFile {

// Writes the bytes to a temporary file beside `path` and renames it over `path` only once everything is on
// disk, so a full disk, a crash or a read-only folder leaves the previous file untouched. Answers nothing on
// success and a readable reason on failure.
[[nodiscard]] std::optional<QString> write(const QString& path, const QByteArray& bytes);

enum class ReadError {
    unreadable, // missing, not a file, or no permission
    tooLarge,
};

// Reads a whole file of at most `maxBytes`.
[[nodiscard]] Expected<QByteArray, ReadError> read(const QString& path, qint64 maxBytes);

// Reads `device` until it ends, but no further than one byte past `limit`: more than `limit` bytes back means
// it holds too much. Works for devices whose size is not known (pipes, /proc); the caller checks for errors.
[[nodiscard]] QByteArray readAtMostPastLimit(QIODevice& device, qint64 limit);
// Everything `device` gives until it ends, or nothing once that would exceed `limit` bytes.
[[nodiscard]] std::optional<QByteArray> readAllWithin(QIODevice& device, qint64 limit);

} // namespace AtomicFile
