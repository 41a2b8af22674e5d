#pragma once

#include <QHash>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>

// Which of a set of application paths run, found in one pass over the proc file system. The scanner
// remembers what each process runs and resolves its programs again only when its pid is new or its
// executable or command changed, so that a pass over an unchanged system reads one link and one short file
// per process.
//
// Blocks while it reads the files; call it off the main thread. Safe to call from several threads: passes
// take turns.
class ProgramScanner final {
public:
    explicit ProgramScanner(QString procRoot = QStringLiteral("/proc"));

    // Those of `applicationPaths` (desktop files or programs) with a running process, spelled as given.
    [[nodiscard]] QSet<QString> running(const QStringList& applicationPaths);

private:
    struct Seen {
        QString executableLink;
        QStringList leadingArguments;
        QStringList programs;
    };

    QString m_procRoot;
    QMutex m_mutex;
    QHash<qint64, Seen> m_seen;
};
