#include "platform/linux/desktop/DesktopInstalledApplications.h"

#include "platform/linux/desktop/DesktopFile.h"

#include <QCollator>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

DesktopInstalledApplications::DesktopInstalledApplications(QStringList dataDirs, QString locale)
    : m_dataDirs(std::move(dataDirs))
    , m_locale(std::move(locale))
{
}

std::vector<InstalledApplications::Entry> DesktopInstalledApplications::entries() const
{
    std::vector<Entry> entries;
    QSet<QString> seenIds;
    for (const QString& dataDir : m_dataDirs) {
        const QDir applications(dataDir + QStringLiteral("/applications"));
        QDirIterator files(applications.path(), {QStringLiteral("*.desktop")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            // The id of "kde4/okular.desktop" is "kde4-okular.desktop".
            const QString id = applications.relativeFilePath(path).replace(u'/', u'-');
            // An id is decided by its first file, also when that one hides the entry or cannot be read.
            if (seenIds.contains(id))
                continue;
            seenIds.insert(id);
            const Expected<DesktopFile, QString> file = DesktopFile::read(path, m_locale);
            if (!file || file->noDisplay || file->hidden)
                continue;
            const QString name = file->name.trimmed();
            entries.push_back({name.isEmpty() ? QFileInfo(path).completeBaseName() : name, path, file->icon});
        }
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(entries.begin(), entries.end(), [&collator](const Entry& a, const Entry& b) {
        return collator.compare(a.name, b.name) < 0;
    });
    return entries;
}
