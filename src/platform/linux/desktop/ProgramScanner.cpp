#include "platform/linux/desktop/ProgramScanner.h"

#include "platform/linux/desktop/ApplicationProgram.h"
#include "platform/linux/desktop/RunningPrograms.h"

#include <QFileInfo>
#include <QMutexLocker>

ProgramScanner::ProgramScanner(QString procRoot)
    : m_procRoot(std::move(procRoot))
{
}

QSet<QString> ProgramScanner::running(const QStringList& applicationPaths)
{
    // Desktop files are read on every pass: an application updated in place may start another program.
    QHash<QString, QStringList> pathsOfProgram;
    for (const QString& path : applicationPaths) {
        const std::optional<QString> program = ApplicationProgram::of(path);
        const QString resolved = program ? QFileInfo(*program).canonicalFilePath() : QString();
        if (!resolved.isEmpty())
            pathsOfProgram[resolved] << path;
    }
    if (pathsOfProgram.isEmpty())
        return {};

    QMutexLocker lock(&m_mutex);
    QHash<qint64, Seen> seen;
    QSet<QString> running;
    for (const qint64 pid : RunningPrograms::processIds(m_procRoot)) {
        const QString processDir = m_procRoot + QLatin1Char('/') + QString::number(pid);
        QString link = RunningPrograms::executableLink(processDir);
        QStringList words = RunningPrograms::leadingArguments(processDir);
        // Resolving the paths is what costs; a shell that starts a script through the same shell keeps its
        // executable, so the command counts too.
        auto known = m_seen.constFind(pid);
        Seen entry =
            known != m_seen.cend() && known->executableLink == link && known->leadingArguments == words
                ? *known
                : Seen{link, words, RunningPrograms::programsOf(link, words)};
        for (const QString& program : entry.programs) {
            if (const auto paths = pathsOfProgram.constFind(program); paths != pathsOfProgram.cend())
                running.unite(QSet<QString>(paths->cbegin(), paths->cend()));
        }
        seen.insert(pid, std::move(entry));
    }
    m_seen = std::move(seen);
    return running;
}
