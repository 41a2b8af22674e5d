#include "RunningPrograms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString canonical(const QString& path)
{
    return path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
}

// The first two words of the command line, NUL-separated in the file.
QStringList leadingArguments(const QString& processDir)
{
    QFile file(processDir + QStringLiteral("/cmdline"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> words = file.read(64 * 1024).split('\0');
    QStringList leading;
    for (qsizetype i = 0; i < qMin<qsizetype>(2, words.size()); ++i)
        leading << QFile::decodeName(words[i]);
    return leading;
}

bool runs(const QString& processDir, const QString& program)
{
    if (canonical(QFileInfo(processDir + QStringLiteral("/exe")).symLinkTarget()) == program)
        return true;
    for (const QString& word : leadingArguments(processDir)) {
        if (word.startsWith(QLatin1Char('/')) && canonical(word) == program)
            return true;
    }
    return false;
}

} // namespace

std::vector<qint64> RunningPrograms::processesRunning(const QString& program, const QString& procRoot)
{
    const QString wanted = canonical(program);
    if (wanted.isEmpty())
        return {};
    std::vector<qint64> pids;
    const QStringList entries = QDir(procRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool isNumber = false;
        const qint64 pid = entry.toLongLong(&isNumber);
        if (isNumber && runs(procRoot + QLatin1Char('/') + entry, wanted))
            pids.push_back(pid);
    }
    return pids;
}
