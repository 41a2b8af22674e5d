#include "platform/linux/desktop/XdgTrash.h"

#include "core/Logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

// File systems reached over the network: looking into them may hang for minutes, so they are not examined.
bool isRemote(const QString& type)
{
    static const QSet<QString> remote{
        QStringLiteral("nfs"),         QStringLiteral("nfs4"),        QStringLiteral("cifs"),
        QStringLiteral("smb3"),        QStringLiteral("smbfs"),       QStringLiteral("ncpfs"),
        QStringLiteral("afs"),         QStringLiteral("ceph"),        QStringLiteral("glusterfs"),
        QStringLiteral("9p"),          QStringLiteral("davfs"),       QStringLiteral("fuse.sshfs"),
        QStringLiteral("fuse.rclone"), QStringLiteral("fuse.davfs2"), QStringLiteral("fuse.gvfsd-fuse")};
    return remote.contains(type);
}

// Mount points are written with spaces, tabs, newlines and backslashes as three-digit octal escapes.
QString unescapeMountPoint(const QByteArray& field)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field.mid(i + 1, 3).toInt(nullptr, 8) > 0) {
            bytes += static_cast<char>(field.mid(i + 1, 3).toInt(nullptr, 8));
            i += 3;
        } else {
            bytes += field[i];
        }
    }
    return QFile::decodeName(bytes);
}

void removeEntry(const QFileInfo& entry)
{
    const bool removed = entry.isDir() && !entry.isSymLink() ? QDir(entry.filePath()).removeRecursively()
                                                             : QFile::remove(entry.filePath());
    if (!removed)
        qCWarning(lcPlatform).noquote()
            << "Marquetto: couldn't remove" << entry.filePath() << "from the Trash";
}

} // namespace

XdgTrash::XdgTrash(ProcessRunner& runner, QString gio, QString dataHome, QString mounts, uid_t uid,
                   JobRunner background)
    : m_runner(runner)
    , m_gio(std::move(gio))
    , m_dataHome(std::move(dataHome))
    , m_mounts(std::move(mounts))
    , m_uid(uid)
    , m_background(std::move(background))
{
}

Trash::Locations XdgTrash::locations() const
{
    Locations locations;
    QStringList candidates{m_dataHome + QStringLiteral("/Trash/files")};
    QFile mounts(m_mounts);
    if (!mounts.open(QIODevice::ReadOnly)) {
        qCWarning(lcPlatform).noquote()
            << "Marquetto: can't list the mounted file systems:" << mounts.errorString();
        locations.skipped = true;
    }
    const QString uid = QString::number(m_uid);
    for (const QByteArray& line : mounts.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 3)
            continue;
        const QString type = QString::fromLatin1(fields[2]);
        if (isRemote(type)) {
            locations.skipped = true;
            continue;
        }
        // Kernel and memory file systems hold no Trash of the user's.
        if (!fields[0].startsWith("/dev/"))
            continue;
        const QString top = unescapeMountPoint(fields[1]);
        if (!QFileInfo(top).isExecutable()) {
            locations.skipped = true;
            continue;
        }
        const QString base = top.endsWith(u'/') ? top : top + u'/';
        candidates << base + QStringLiteral(".Trash-") + uid + QStringLiteral("/files")
                   << base + QStringLiteral(".Trash/") + uid + QStringLiteral("/files");
    }
    // The same folder may be reached through two mounts of one file system, or be the home Trash itself.
    locations.folders = distinctFolders(candidates);
    return locations;
}

void XdgTrash::open()
{
    if (m_gio.isEmpty()) {
        qCWarning(lcPlatform) << "Marquetto: no gio program; the Trash cannot be opened";
        return;
    }
    m_runner.fireAndForget(m_gio, {QStringLiteral("open"), QStringLiteral("trash:///")});
}

void XdgTrash::empty()
{
    if (!m_gio.isEmpty()) {
        m_runner.fireAndForget(m_gio, {QStringLiteral("trash"), QStringLiteral("--empty")});
        return;
    }
    m_background([this] { removeContents(); });
}

void XdgTrash::removeContents() const
{
    const QDir::Filters everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QString& folder : locations().folders) {
        for (const QFileInfo& entry : QDir(folder).entryInfoList(everything))
            removeEntry(entry);
        // Each trashed item's record of where it came from sits beside the files folder.
        const QDir info(QFileInfo(folder).path() + QStringLiteral("/info"));
        for (const QFileInfo& entry : info.entryInfoList({QStringLiteral("*.trashinfo")}, everything))
            removeEntry(entry);
    }
}
