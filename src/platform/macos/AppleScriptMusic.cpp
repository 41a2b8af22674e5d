#include "AppleScriptMusic.h"

#include "core/BackgroundQueue.h"
#include "core/DeviceOrder.h"
#include "core/Logging.h"
#include "platform/Programs.h"
#include "platform/macos/MusicScriptOutput.h"
#include "platform/macos/MusicScripts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

namespace {

// What the scripts print; nothing printed when osascript could not run.
QString outputOf(ProcessRunner& processes, const QStringList& scripts)
{
    QStringList arguments;
    for (const QString& script : scripts)
        arguments << QStringLiteral("-e") << script;
    return processes.capture(Programs::osascript(), arguments).value_or(QString());
}

bool holdsData(const QString& path)
{
    const QFileInfo file(path);
    return file.isFile() && file.size() > 0;
}

QString newIconName(const QString& kind)
{
    return kind + QLatin1Char('-') + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() +
           QStringLiteral(".png");
}

} // namespace

AppleScriptMusic::AppleScriptMusic(ProcessRunner& processes, const AppPaths& paths,
                                   std::function<bool()> isMusicRunning)
    : m_processes(processes)
    , m_paths(paths)
    , m_isMusicRunning(std::move(isMusicRunning))
{
}

bool AppleScriptMusic::isMusicRunning() const
{
    return m_isMusicRunning && m_isMusicRunning();
}

void AppleScriptMusic::fire(const QString& script)
{
    m_processes.fireAndForget(Programs::osascript(), {QStringLiteral("-e"), script});
}

void AppleScriptMusic::play(const QString& album, const QString& artist)
{
    fire(MusicScripts::playAlbum(album, artist));
}

void AppleScriptMusic::playPlaylist(const QString& name)
{
    fire(MusicScripts::playPlaylist(name));
}

void AppleScriptMusic::playPause()
{
    fire(MusicScripts::playPause());
}

void AppleScriptMusic::nextTrack()
{
    fire(MusicScripts::nextTrack());
}

void AppleScriptMusic::previousTrack()
{
    fire(MusicScripts::previousTrack());
}

void AppleScriptMusic::fetchPlaylists(PlaylistsHandler handler)
{
    BackgroundQueue::runThenReport<QStringList>(
        &m_lifetime,
        [&processes = m_processes] {
            return MusicScriptOutput::playlists(outputOf(processes, MusicScripts::playlists()));
        },
        std::move(handler));
}

void AppleScriptMusic::fetchAlbums(AlbumsHandler handler)
{
    BackgroundQueue::runThenReport<std::vector<AlbumEntry>>(
        &m_lifetime,
        [&processes = m_processes] {
            std::vector<AlbumEntry> albums =
                MusicScriptOutput::albums(outputOf(processes, {MusicScripts::albums()}));
            if (albums.empty()) {
                // Some libraries fail on the artists alone; their albums are still worth listing.
                albums = MusicScriptOutput::albums(outputOf(processes, {MusicScripts::albumNames()}));
                if (!albums.empty())
                    qCInfo(lcPlatform) << "Marquetto: Music listed its albums without their artists";
            }
            sortByName(albums);
            return albums;
        },
        std::move(handler));
}

void AppleScriptMusic::fetchNowPlaying(NowPlayingHandler handler)
{
    BackgroundQueue::runThenReport<std::optional<NowPlayingInfo>>(
        &m_lifetime,
        [&processes = m_processes] {
            return MusicScriptOutput::nowPlaying(outputOf(processes, {MusicScripts::nowPlaying()}));
        },
        std::move(handler));
}

void AppleScriptMusic::fetchNowPlayingArtwork(ArtworkFileHandler handler)
{
    BackgroundQueue::runThenReport<std::optional<QString>>(
        &m_lifetime,
        [&processes = m_processes, folder = m_paths.supportDir()]() -> std::optional<QString> {
            const QString path = folder + QStringLiteral("/nowplaying-art.png");
            // A track without artwork leaves the file alone: the last track's picture must not pass for it.
            QFile::remove(path);
            QDir().mkpath(folder);
            outputOf(processes, {MusicScripts::nowPlayingArtwork(path)});
            if (!holdsData(path))
                return std::nullopt;
            return path;
        },
        std::move(handler));
}

void AppleScriptMusic::fetchArtwork(const QString& album, const QString& artist, ArtworkHandler handler)
{
    fetchIcon(
        newIconName(QStringLiteral("album")),
        [album, artist](const QString& path) { return MusicScripts::albumArtwork(album, artist, path); },
        std::move(handler));
}

void AppleScriptMusic::fetchArtwork(const QString& playlist, ArtworkHandler handler)
{
    fetchIcon(
        newIconName(QStringLiteral("playlist")),
        [playlist](const QString& path) { return MusicScripts::playlistArtwork(playlist, path); },
        std::move(handler));
}

void AppleScriptMusic::fetchIcon(const QString& name, std::function<QString(const QString& path)> script,
                                 ArtworkHandler handler)
{
    BackgroundQueue::runThenReport<std::optional<QString>>(
        &m_lifetime,
        [&processes = m_processes, folder = m_paths.iconsDir(), name, script]() -> std::optional<QString> {
            const QString path = folder + QLatin1Char('/') + name;
            QDir().mkpath(folder);
            outputOf(processes, {script(path)});
            if (holdsData(path))
                return name;
            // Music may hand over empty artwork data, and an empty file is no icon.
            QFile::remove(path);
            return std::nullopt;
        },
        std::move(handler));
}
