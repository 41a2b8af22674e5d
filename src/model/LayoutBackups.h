#pragma once

#include "model/Models.h"

#include <QDateTime>
#include <QString>
#include <vector>

class Clock;

// The copies of earlier layouts kept in the backups folder, named "tiles-yyyyMMdd-HHmmss.json" after the
// local time of the backup. At most ten are kept, the newest by name; a second save within the same second
// keeps the first save's backup. Every step is best effort: a failure is ignored and never stops a save.
//
// Main thread only.
class LayoutBackups {
public:
    static constexpr int limit = 10;

    struct BackupEntry {
        QString path;
        QDateTime date;
    };

    LayoutBackups(QString tilesFile, QString backupsDir, const Clock& clock);

    // Copies the layout file, if there is one, into the folder; called before every save.
    void backupExisting() const;
    // Writes the given pages as a new backup, for a layout about to be replaced by a whole other deck. It is
    // kept whatever else this second holds: when the second's name holds other content, the next free second
    // is used.
    void saveBackup(const Pages& pages) const;
    // The backups whose name holds a valid time, newest first.
    [[nodiscard]] std::vector<BackupEntry> availableBackups() const;

    [[nodiscard]] static QString fileName(const QDateTime& moment);

private:
    // How far past the newest backup a replaced deck may move when names there are taken by other files.
    static constexpr int maxSecondsLater = 60;

    [[nodiscard]] QString pathForNow() const;
    bool write(const QByteArray& bytes, const QString& path) const;
    void prune() const;

    QString m_tilesFile;
    QString m_backupsDir;
    const Clock& m_clock;
};
