#include "platform/linux/desktop/RunningPrograms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

QString canonical(const QString& path)
{
    return path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
}

} // namespace

QString RunningPrograms::executableLink(const QString& processDir)
{
    return QFileInfo(processDir + QStringLiteral("/exe")).symLinkTarget();
}

// The words are NUL-separated in the file.
QStringList RunningPrograms::leadingArguments(const QString& processDir)
{
    QFile file(processDir + QStringLiteral("/cmdline"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Two paths fit in this, and a bigger buffer costs more than the rest of the read.
    const QList<QByteArray> words = file.read(8 * 1024).split('\0');
    QStringList leading;
    for (qsizetype i = 0; i < qMin<qsizetype>(2, words.size()); ++i)
        leading << QFile::decodeName(words[i]);
    return leading;
}

QStringList RunningPrograms::programsOf(const QString& executableLink, const QStringList& leadingArguments)
{
    QStringList programs;
    const QString executable = canonical(executableLink);
    if (!executable.isEmpty())
        programs << executable;
    for (const QString& word : leadingArguments) {
        if (!word.startsWith(QLatin1Char('/')))
            continue;
        const QString program = canonical(word);
        if (!program.isEmpty() && !programs.contains(program))
            programs << program;
    }
    return programs;
}

std::vector<qint64> RunningPrograms::processIds(const QString& procRoot)
{
    std::vector<qint64> pids;
    const QStringList entries = QDir(procRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QString& entry : entries) {
        bool isNumber = false;
        const qint64 pid = entry.toLongLong(&isNumber);
        if (isNumber)
            pids.push_back(pid);
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

std::vector<qint64> RunningPrograms::processesRunning(const QString& program, const QString& procRoot)
{
    const QString wanted = canonical(program);
    if (wanted.isEmpty())
        return {};
    std::vector<qint64> pids;
    for (const qint64 pid : processIds(procRoot)) {
        const QString processDir = procRoot + QLatin1Char('/') + QString::number(pid);
        if (programsOf(executableLink(processDir), leadingArguments(processDir)).contains(wanted))
            pids.push_back(pid);
    }
    return pids;
}
