#include "platform/linux/music/MusicFolder.h"

#include "core/AtomicFile.h"
#include "core/Logging.h"
#include "core/MainThread.h"
#include "platform/linux/desktop/UserDirs.h"
#include "platform/linux/music/AlbumFiles.h"
#include "platform/linux/music/AlbumScan.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QUuid>

namespace {

// inotify watches are a per-user budget shared with every other program; past this many folders only the
// ones nearest the top are watched, so a change deep in a huge library waits for the next change above it.
constexpr qsizetype maxWatchedDirectories = 4096;
constexpr int settleMilliseconds = 2000;

std::optional<QString> writeArtwork(const AlbumLibrary& library, const QString& album, const QString& artist,
                                    const QString& iconsDirectory, const ArtworkShaper& shape)
{
    const AlbumLibrary::Album* found = library.find(album, artist);
    if (!found || !shape)
        return std::nullopt;
    const std::optional<QByteArray> picture = AlbumFiles::cover(*found);
    if (!picture)
        return std::nullopt;
    const std::optional<QByteArray> cover = shape(*picture);
    if (!cover) {
        qCInfo(lcPlatform).noquote() << "Marquetto: the cover of" << album << "is no picture this deck reads";
        return std::nullopt;
    }
    const QString name = QStringLiteral("album-") +
                         QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() +
                         QStringLiteral(".png");
    QDir().mkpath(iconsDirectory);
    if (const auto failure = AtomicFile::write(iconsDirectory + u'/' + name, *cover)) {
        qCWarning(lcPlatform).noquote()
            << "Marquetto: cannot write the cover of" << album << "to" << iconsDirectory << ":" << *failure;
        return std::nullopt;
    }
    return name;
}

bool writePlaylist(const AlbumLibrary& library, const QString& album, const QString& artist,
                   const QString& playlistPath, const QString& folder)
{
    const AlbumLibrary::Album* found = library.find(album, artist);
    if (!found) {
        const QString named = artist.isEmpty() ? album : QStringLiteral("%1 by %2").arg(album, artist);
        qCWarning(lcPlatform).noquote() << "Marquetto: no album" << named << "in the music folder" << folder;
        return false;
    }
    QDir().mkpath(QFileInfo(playlistPath).path());
    if (const auto failure = AtomicFile::write(playlistPath, AlbumFiles::playlist(*found))) {
        qCWarning(lcPlatform).noquote()
            << "Marquetto: cannot write the play queue" << playlistPath << ":" << *failure;
        return false;
    }
    return true;
}

} // namespace

MusicFolder::MusicFolder(QString folder, QString iconsDirectory, ArtworkShaper shapeArtwork, QObject* parent,
                         JobRunner background)
    : QObject(parent)
    , m_folder(std::move(folder))
    , m_iconsDirectory(std::move(iconsDirectory))
    , m_shapeArtwork(std::move(shapeArtwork))
    , m_background(std::move(background))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMilliseconds);
    connect(&m_settle, &QTimer::timeout, this, &MusicFolder::rescan);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
}

MusicFolder::~MusicFolder()
{
    m_stop->store(true);
}

QString MusicFolder::userMusicFolder(const AppPaths& paths)
{
    return UserDirs::userDir(paths, QStringLiteral("XDG_MUSIC_DIR"), QStringLiteral("Music"));
}

void MusicFolder::albums(MusicBridge::AlbumsHandler handler)
{
    withLibrary([handler = std::move(handler)](const Library& library) { handler(library->entries()); });
}

void MusicFolder::fetchArtwork(const QString& album, const QString& artist,
                               ArtworkSource::ArtworkHandler handler)
{
    withLibrary([this, album, artist, handler = std::move(handler)](const Library& library) {
        m_background([library, album, artist, icons = m_iconsDirectory, shape = m_shapeArtwork,
                      guard = QPointer(this), handler] {
            const std::optional<QString> name = writeArtwork(*library, album, artist, icons, shape);
            MainThread::post(guard, [handler, name](MusicFolder&) { handler(name); });
        });
    });
}

void MusicFolder::writeQueue(const QString& album, const QString& artist, const QString& playlistPath,
                             WrittenHandler handler)
{
    withLibrary([this, album, artist, playlistPath, handler = std::move(handler)](const Library& library) {
        m_background(
            [library, album, artist, playlistPath, folder = m_folder, guard = QPointer(this), handler] {
                const bool written = writePlaylist(*library, album, artist, playlistPath, folder);
                MainThread::post(guard, [handler, written](MusicFolder&) { handler(written); });
            });
    });
}

void MusicFolder::rescan()
{
    if (!m_library && !m_scanning)
        return;
    m_current = false;
    if (m_scanning)
        m_changedWhileScanning = true;
    else
        startScan();
}

void MusicFolder::withLibrary(LibraryUser use)
{
    if (m_library && m_current && !m_scanning) {
        use(m_library);
        return;
    }
    m_waiting.push_back(std::move(use));
    if (!m_scanning)
        startScan();
}

void MusicFolder::startScan()
{
    m_scanning = true;
    m_background([folder = m_folder, stop = m_stop, guard = QPointer(this)] {
        auto result = std::make_shared<AlbumScan::Result>(AlbumScan::scan(folder, *stop));
        MainThread::post(guard, [result](MusicFolder& self) {
            self.finishScan(std::move(result->library), result->directories);
        });
    });
}

void MusicFolder::finishScan(AlbumLibrary library, const QStringList& directories)
{
    m_scanning = false;
    m_library = std::make_shared<const AlbumLibrary>(std::move(library));
    m_current = !directories.isEmpty();
    watch(directories);
    // Calls that came during the scan get its answer even when the folder changed meanwhile; the next scan
    // serves later calls.
    for (const LibraryUser& use : std::exchange(m_waiting, {}))
        use(m_library);
    if (std::exchange(m_changedWhileScanning, false))
        rescan();
}

void MusicFolder::watch(const QStringList& directories)
{
    if (const QStringList watched = m_watcher.directories(); !watched.isEmpty())
        m_watcher.removePaths(watched);
    if (directories.isEmpty())
        return;
    if (directories.size() > maxWatchedDirectories)
        qCInfo(lcPlatform).noquote() << "Marquetto: watching the top" << maxWatchedDirectories << "of"
                                     << directories.size() << "folders of" << m_folder << "for changes";
    m_watcher.addPaths(directories.mid(0, maxWatchedDirectories));
}
