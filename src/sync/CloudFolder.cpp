#include "sync/CloudFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace {

const QString deckFileName = QStringLiteral("Deck.marquetto");

} // namespace

QString CloudFolder::syncFolder(const QString& driveRoot)
{
    return driveRoot + QStringLiteral("/Marquetto");
}

QString CloudFolder::syncFile(const QString& driveRoot)
{
    return syncFolder(driveRoot) + u'/' + deckFileName;
}

QString CloudFolder::placeholder(const QString& driveRoot)
{
    return syncFolder(driveRoot) + QStringLiteral("/.") + deckFileName + QStringLiteral(".icloud");
}

QString CloudFolder::macDriveRoot(const QString& home)
{
    return home + QStringLiteral("/Library/Mobile Documents/com~apple~CloudDocs");
}

bool CloudFolder::isSyncClientFile(const QString& fileName)
{
    // Syncthing's download and conflict names, Dropbox's and Nextcloud's conflicted copies, and the "~"
    // partial files of ownCloud-style clients.
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\.syncthing\..*\.tmp$|\.sync-conflict-| \(.*conflicted copy.*\)|\.~)"));
    return pattern.match(fileName).hasMatch();
}

bool CloudFolder::isBeingDownloaded(const QString& driveRoot)
{
    const QStringList names = QDir(syncFolder(driveRoot)).entryList(QDir::Files | QDir::Hidden);
    return std::any_of(names.begin(), names.end(), [](const QString& name) {
        return name.contains(deckFileName) && isSyncClientFile(name) && !name.contains(u"conflict");
    });
}

QStringList CloudFolder::offeredFolders(const QString& home)
{
    QStringList offered;
    static const QStringList names{QStringLiteral("Nextcloud"), QStringLiteral("Dropbox"),
                                   QStringLiteral("Sync"), QStringLiteral("ownCloud"),
                                   QStringLiteral("pCloudDrive")};
    for (const QString& name : names) {
        const QString path = home + u'/' + name;
        if (QFileInfo(path).isDir())
            offered << path;
    }
    return offered;
}
