#include "AtomicFile.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>

std::optional<QString> AtomicFile::write(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    // Unbuffered, so a failing write (a full disk) is seen here: QSaveFile::commit() does not notice when the
    // final flush of its buffer fails, and would put a truncated file in place of a good one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

Expected<QByteArray, AtomicFile::ReadError> AtomicFile::read(const QString& path, qint64 maxBytes)
{
    QFile file(path);
    // Read straight into the bytes returned, not through the file's buffer.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return Unexpected{ReadError::unreadable};
    const QByteArray bytes = readAtMostPastLimit(file, maxBytes);
    if (file.error() != QFileDevice::NoError)
        return Unexpected{ReadError::unreadable};
    if (bytes.size() > maxBytes)
        return Unexpected{ReadError::tooLarge};
    return bytes;
}

std::optional<QByteArray> AtomicFile::readAllWithin(QIODevice& device, qint64 limit)
{
    // A pipe hands its bytes over in pieces; read until it closes, but not without end.
    QByteArray bytes = readAtMostPastLimit(device, limit);
    if (bytes.size() > limit)
        return std::nullopt;
    return bytes;
}

QByteArray AtomicFile::readAtMostPastLimit(QIODevice& device, qint64 limit)
{
    // The pieces follow what the device says it holds, so that a small file or a tile of a few bytes does not
    // cost a buffer of the limit's size (a deck file's is 64 MB), nor a file a buffer of its own size and
    // more; one byte past the limit tells a file of exactly the limit from a larger one.
    constexpr qint64 minimumPiece = 64 * 1024;
    QByteArray bytes;
    while (bytes.size() <= limit) {
        const qint64 wanted = device.bytesAvailable() + 1;
        const QByteArray piece = device.read(std::min(
            limit + 1 - bytes.size(), device.isSequential() ? std::max(wanted, minimumPiece) : wanted));
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    return bytes;
}
