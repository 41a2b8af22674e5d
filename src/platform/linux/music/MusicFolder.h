#pragma once

#include "core/AppPaths.h"
#include "core/BackgroundQueue.h"
#include "platform/linux/music/AlbumLibrary.h"
#include "platform/linux/music/AlbumSource.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <memory>

// The albums of the user's music folder, from the tags of its audio files. The folder is scanned off the
// main thread on the first call that needs it; calls that arrive during a scan are answered when it ends.
// The folder and its subfolders are watched, and a change that has settled for two seconds scans it again.
// Main thread only.
class MusicFolder final : public QObject, public AlbumSource {
    Q_OBJECT
public:
    using Job = std::function<void()>;
    using JobRunner = std::function<void(Job)>;

    // Reads nothing yet. Covers go into `iconsDirectory`, created when needed, as `shapeArtwork` makes them
    // (none without it): a cover as found may be a photo of many megabytes, which would then travel with
    // every deck file. Scans and file work go to `background`.
    MusicFolder(QString folder, QString iconsDirectory, ArtworkShaper shapeArtwork, QObject* parent = nullptr,
                JobRunner background = &BackgroundQueue::run);
    ~MusicFolder() override;

    // XDG_MUSIC_DIR of the user's folder settings, or ~/Music.
    [[nodiscard]] static QString userMusicFolder(const AppPaths& paths);

    void albums(MusicBridge::AlbumsHandler handler) override;
    void fetchArtwork(const QString& album, const QString& artist,
                      ArtworkSource::ArtworkHandler handler) override;
    void writeQueue(const QString& album, const QString& artist, const QString& playlistPath,
                    WrittenHandler handler) override;

    // Scans the folder again, after a scan in progress when there is one; the settle timer's handler.
    // Nothing happens before the first scan.
    void rescan();

private:
    using Library = std::shared_ptr<const AlbumLibrary>;
    using LibraryUser = std::function<void(const Library&)>;

    void withLibrary(LibraryUser use);
    void startScan();
    void finishScan(AlbumLibrary library, const QStringList& directories);
    void watch(const QStringList& directories);

    QString m_folder;
    QString m_iconsDirectory;
    ArtworkShaper m_shapeArtwork;
    JobRunner m_background;
    Library m_library;
    // False while the library may be behind the folder: a change was seen, or the folder could not be
    // watched (it is missing).
    bool m_current = false;
    bool m_scanning = false;
    bool m_changedWhileScanning = false;
    std::vector<LibraryUser> m_waiting;
    // Tells a scan still running for a destroyed object to stop early.
    std::shared_ptr<std::atomic<bool>> m_stop = std::make_shared<std::atomic<bool>>(false);
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
};
