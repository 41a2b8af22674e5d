#pragma once

#include "core/AppPaths.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

// A home folder of the target's own for readers that write files, made on first use and removed at exit.
// It lives in memory when the system offers a memory file system, as a target writes on every run.
class FuzzHome final {
public:
    static FuzzHome& shared()
    {
        static FuzzHome home;
        return home;
    }

    [[nodiscard]] QString path() const { return m_dir.path(); }
    [[nodiscard]] const AppPaths& paths() const { return m_paths; }
    [[nodiscard]] QString filePath(const QString& name) const { return m_dir.filePath(name); }

    // Puts the input where the reader looks for it, a name in the home; see `write`.
    [[nodiscard]] QString writeFile(const QString& name, const QByteArray& bytes) const
    {
        const QString path = filePath(name);
        write(path, bytes);
        return path;
    }

    // Puts `bytes` in the file at `path` in place, as a program rewriting it would; aborts when it cannot,
    // since the target would then read something else than the fuzzer chose.
    static void write(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            std::abort();
        }
    }

    // Empties the folder (or makes it) so that one run leaves nothing the next one reads.
    void clear(const QString& folder) const
    {
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
    }

private:
    FuzzHome()
        : m_dir(baseFolder() + QStringLiteral("/marquetto-fuzz-XXXXXX"))
    {
        if (!m_dir.isValid()) {
            std::fputs("cannot make a temporary home\n", stderr);
            std::abort();
        }
    }

    static QString baseFolder()
    {
        const QFileInfo shm(QStringLiteral("/dev/shm"));
        return shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    }

    QTemporaryDir m_dir;
    AppPaths m_paths = AppPaths::forHome(m_dir.path());
};
