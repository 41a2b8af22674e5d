#include "AtomicFile.h"

#include <QFile>
#include <QSaveFile>

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
    if (!file.open(QIODevice::ReadOnly))
        return Unexpected{ReadError::unreadable};
    // Reading one byte past the limit tells a file of exactly the limit from a larger one, including files
    // whose size the file system does not report (pipes, /proc).
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return Unexpected{ReadError::unreadable};
    if (bytes.size() > maxBytes)
        return Unexpected{ReadError::tooLarge};
    return bytes;
}
