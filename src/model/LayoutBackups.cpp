#include "LayoutBackups.h"

#include "core/Clock.h"
#include "model/TileCoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>

namespace {

const QString prefix = QStringLiteral("tiles-");
const QString suffix = QStringLiteral(".json");
const QString timeStampFormat = QStringLiteral("yyyyMMdd-HHmmss");

// Every file whose name starts with the prefix, whatever follows it: those are the files pruning counts.
QStringList backupNames(const QDir& dir)
{
    QStringList names;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort)) {
        if (name.startsWith(prefix))
            names << name;
    }
    return names;
}

} // namespace

LayoutBackups::LayoutBackups(QString tilesFile, QString backupsDir, const Clock& clock)
    : m_tilesFile(std::move(tilesFile))
    , m_backupsDir(std::move(backupsDir))
    , m_clock(clock)
{
}

QString LayoutBackups::fileName(const QDateTime& moment)
{
    return prefix + moment.toLocalTime().toString(timeStampFormat) + suffix;
}

QString LayoutBackups::pathForNow() const
{
    return m_backupsDir + QLatin1Char('/') + fileName(m_clock.now());
}

void LayoutBackups::backupExisting() const
{
    if (!QFileInfo::exists(m_tilesFile))
        return;
    QDir().mkpath(m_backupsDir);
    // QFile::copy refuses an existing target, which keeps the first backup of a second.
    QFile::copy(m_tilesFile, pathForNow());
    prune();
}

void LayoutBackups::saveBackup(const Pages& pages) const
{
    QDir().mkpath(m_backupsDir);
    const QByteArray bytes = TileCoding::layoutBytes(pages);
    QDateTime moment = m_clock.now();
    const std::vector<BackupEntry> backups = availableBackups();
    if (!backups.empty()) {
        QFile newest(backups.front().path);
        if (newest.open(QIODevice::ReadOnly) && newest.size() == bytes.size() && newest.readAll() == bytes)
            return;
        // Never below the newest backup: pruning keeps the newest names, and a name below them would be the
        // first to go.
        if (QFileInfo::exists(m_backupsDir + QLatin1Char('/') + fileName(moment)) ||
            backups.front().date >= moment)
            moment = std::max(moment, backups.front().date.addSecs(1));
    }
    for (int later = 0; later < maxSecondsLater; ++later)
        if (write(bytes, m_backupsDir + QLatin1Char('/') + fileName(moment.addSecs(later))))
            break;
    prune();
}

bool LayoutBackups::write(const QByteArray& bytes, const QString& path) const
{
    // Written beside the target first and then renamed, which fails when the name is taken, so a backup is
    // never overwritten and never left half-written. The temporary name does not start with the backup
    // prefix.
    QTemporaryFile file(m_backupsDir + QStringLiteral("/.backup-XXXXXX.tmp"));
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush() || !file.rename(path))
        return false;
    file.setAutoRemove(false);
    return true;
}

void LayoutBackups::prune() const
{
    const QDir dir(m_backupsDir);
    if (!dir.exists())
        return;
    QStringList names = backupNames(dir);
    std::sort(names.begin(), names.end());
    for (qsizetype i = 0; i + limit < names.size(); ++i)
        QFile::remove(dir.filePath(names[i]));
}

std::vector<LayoutBackups::BackupEntry> LayoutBackups::availableBackups() const
{
    const QDir dir(m_backupsDir);
    std::vector<BackupEntry> entries;
    for (const QString& name : backupNames(dir)) {
        if (!name.endsWith(suffix))
            continue;
        const QString stamp = name.mid(prefix.size(), name.size() - prefix.size() - suffix.size());
        const QDateTime date = QDateTime::fromString(stamp, timeStampFormat);
        if (stamp.size() == timeStampFormat.size() && date.isValid())
            entries.push_back({dir.filePath(name), date});
    }
    std::sort(entries.begin(), entries.end(),
              [](const BackupEntry& a, const BackupEntry& b) { return a.date > b.date; });
    return entries;
}
