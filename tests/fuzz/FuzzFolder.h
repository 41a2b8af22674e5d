#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

// A folder of the fuzz run's own under the system's temporary folder, made on first use and removed when
// the run ends: readers that take paths are pointed there, never at the real home.
inline QString fuzzFolder()
{
    static const QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/marquetto-fuzz-XXXXXX"));
    return folder.path();
}

// `path`, a file under the fuzz folder, once its folder is made.
inline QString fuzzFile(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    return path;
}

// Puts `bytes` in the file at `path` in place, as a program rewriting it would; aborts when it cannot, since
// the target would then read something else than the fuzzer chose.
inline void writeFuzzFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
}
