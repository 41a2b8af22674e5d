#include "platform/linux/music/MprisMusic.h"

#include "core/AppPaths.h"
#include "core/AtomicFile.h"
#include "core/BackgroundQueue.h"
#include "core/Logging.h"
#include "core/PendingCalls.h"
#include "platform/Workspace.h"
#include "platform/linux/dbus/DBusAsync.h"
#include "platform/linux/music/AlbumSource.h"

#include <QDBusObjectPath>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QUuid>

namespace {

// Artwork larger than this is someone's mistake, not a cover.
constexpr qint64 kMaxArtworkBytes = 32 * 1024 * 1024;

// Only a local regular file of a sane size is taken. Players name no artwork with an empty address, as
// Rhythmbox does for its playlists.
std::optional<QString> localArtworkFile(const QString& url)
{
    if (url.isEmpty()) {
        qCDebug(lcPlatform).noquote() << "Marquetto: the media player names no artwork";
        return std::nullopt;
    }
    const QUrl parsed(url);
    if (!parsed.isLocalFile()) {
        // The scheme alone: a data URL can hold a whole picture.
        qCDebug(lcPlatform).noquote() << "Marquetto: artwork not taken from a" << parsed.scheme()
                                      << "address, only from local files and web addresses";
        return std::nullopt;
    }
    const QFileInfo file(parsed.toLocalFile());
    if (!file.isFile() || file.size() > kMaxArtworkBytes) {
        qCDebug(lcPlatform).noquote()
            << "Marquetto: artwork" << file.filePath() << "is no file of at most 32 MB";
        return std::nullopt;
    }
    return file.absoluteFilePath();
}

// The first of `found` with this name, exactly.
const MprisPlaylists::Found* named(const std::vector<MprisPlaylists::Found>& found, const QString& name)
{
    const auto first = std::find_if(found.cbegin(), found.cend(), [&name](const auto& candidate) {
        return candidate.playlist.name == name;
    });
    return first == found.cend() ? nullptr : &*first;
}

// Copies the picture into the icons folder under a name of its own; answers that name.
std::optional<QString> copyIntoIcons(const QString& picture, const QString& iconsDir)
{
    const auto bytes = AtomicFile::read(picture, kMaxArtworkBytes);
    if (!bytes) {
        qCWarning(lcPlatform).noquote() << "Marquetto: could not read the playlist artwork" << picture;
        return std::nullopt;
    }
    const QString name = QStringLiteral("playlist-") +
                         QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() +
                         QStringLiteral(".png");
    const QString path = iconsDir + u'/' + name;
    const std::optional<QString> failure =
        QDir().mkpath(iconsDir) ? AtomicFile::write(path, *bytes) : QStringLiteral("no icons folder");
    if (failure) {
        qCWarning(lcPlatform).noquote() << "Marquetto: could not write" << path << ":" << *failure;
        return std::nullopt;
    }
    return name;
}

} // namespace

MprisMusic::MprisMusic(LazyDBusConnection sessionBus, AlbumSource& albums, Workspace& workspace,
                       const AppPaths& paths, std::chrono::milliseconds timeout, QObject* parent)
    : QObject(parent)
    , m_players(std::move(sessionBus), timeout)
    , m_albums(albums)
    , m_workspace(workspace)
    , m_supportDir(paths.supportDir())
    , m_iconsDir(paths.iconsDir())
    , m_timeout(timeout)
    , m_downloads(m_supportDir + QStringLiteral("/Now Playing Artwork"))
{
}

bool MprisMusic::isMusicRunning() const
{
    return m_players.current().has_value();
}

void MprisMusic::fetchArtwork(const QString& album, const QString& artist, ArtworkHandler handler)
{
    m_albums.fetchArtwork(album, artist, std::move(handler));
}

void MprisMusic::fetchArtwork(const QString& playlist, ArtworkHandler handler)
{
    findPlaylists([self = QPointer(this), iconsDir = m_iconsDir, playlist,
                   handler = std::move(handler)](const std::vector<MprisPlaylists::Found>& playlists) {
        const MprisPlaylists::Found* found = named(playlists, playlist);
        const std::optional<QString> picture = found ? localArtworkFile(found->playlist.icon) : std::nullopt;
        if (!picture) {
            handler(std::nullopt);
            return;
        }
        BackgroundQueue::runThenReport<std::optional<QString>>(
            self, [picture = *picture, iconsDir] { return copyIntoIcons(picture, iconsDir); }, handler);
    });
}

void MprisMusic::play(const QString& album, const QString& artist)
{
    const QString queue = m_supportDir + QStringLiteral("/Marquetto Queue.m3u8");
    if (!QDir().mkpath(m_supportDir)) {
        qCWarning(lcPlatform).noquote() << "Marquetto: no folder" << m_supportDir << "for the album queue";
        return;
    }
    // The music folder is read on other threads before anything goes to the player: the companion, which
    // exits once the requests it sent are answered, must wait for that too.
    PendingCalls::Hold hold = PendingCalls::hold();
    m_albums.writeQueue(album, artist, queue, [self = QPointer(this), queue, hold](bool written) {
        // The album source said why it was not written.
        if (written && self)
            self->openQueue(QUrl::fromLocalFile(queue));
    });
}

void MprisMusic::openQueue(const QUrl& queue)
{
    m_players.withCurrent([this, queue](const std::optional<QString>& player) {
        if (!player) {
            qCInfo(lcPlatform).noquote()
                << "Marquetto: no media player runs; the album goes to the desktop's audio application";
            m_workspace.open(queue);
            return;
        }
        const QDBusMessage call =
            MprisProtocol::call(*player, MprisProtocol::playerInterface(), QStringLiteral("OpenUri"),
                                {queue.toString(QUrl::FullyEncoded)});
        // A paused player stays paused on the new file. One that cannot open playlist files leaves it to the
        // desktop's audio application.
        DBusAsync::call(
            m_players.bus(), call, m_timeout,
            [self = QPointer(this), player = *player](const QDBusMessage&) {
                if (self)
                    DBusAsync::call(
                        self->m_players.bus(),
                        MprisProtocol::call(player, MprisProtocol::playerInterface(), QStringLiteral("Play")),
                        self->m_timeout);
            },
            [self = QPointer(this), call, queue](const QDBusMessage& error) {
                DBusAsync::logFailure(call, error);
                if (self)
                    self->m_workspace.open(queue);
            });
    });
}

void MprisMusic::playPlaylist(const QString& name)
{
    // The answers may outlive the bridge.
    findPlaylists([self = QPointer(this), name](const std::vector<MprisPlaylists::Found>& playlists) {
        const MprisPlaylists::Found* found = named(playlists, name);
        if (!found) {
            qCWarning(lcPlatform).noquote() << "Marquetto: no media player has a playlist" << name;
            return;
        }
        if (!self)
            return;
        DBusAsync::call(self->m_players.bus(),
                        MprisProtocol::call(found->player, MprisProtocol::playlistsInterface(),
                                            QStringLiteral("ActivatePlaylist"),
                                            {QVariant::fromValue(QDBusObjectPath(found->playlist.id))}),
                        self->m_timeout);
    });
}

void MprisMusic::playPause()
{
    control(QStringLiteral("PlayPause"));
}

void MprisMusic::nextTrack()
{
    control(QStringLiteral("Next"));
}

void MprisMusic::previousTrack()
{
    control(QStringLiteral("Previous"));
}

void MprisMusic::control(const QString& method)
{
    m_players.withCurrent([this, method](const std::optional<QString>& player) {
        if (!player) {
            qCWarning(lcPlatform).noquote() << "Marquetto: no media player runs to send" << method << "to";
            return;
        }
        DBusAsync::call(m_players.bus(),
                        MprisProtocol::call(*player, MprisProtocol::playerInterface(), method), m_timeout);
    });
}

void MprisMusic::fetchPlaylists(PlaylistsHandler handler)
{
    findPlaylists([handler = std::move(handler)](const std::vector<MprisPlaylists::Found>& playlists) {
        QStringList names;
        for (const MprisPlaylists::Found& found : playlists)
            names << found.playlist.name;
        handler(names);
    });
}

void MprisMusic::findPlaylists(MprisPlaylists::Handler found)
{
    m_players.withRanked([this, found = std::move(found)](const QStringList& players) {
        MprisPlaylists::gather(m_players.bus(), players, m_timeout, found);
    });
}

void MprisMusic::fetchAlbums(AlbumsHandler handler)
{
    m_albums.albums(std::move(handler));
}

void MprisMusic::fetchNowPlaying(NowPlayingHandler handler)
{
    fetchPlayerProperties([handler](const std::optional<QVariantMap>& properties) {
        std::optional<NowPlayingInfo> info =
            properties ? MprisProtocol::nowPlaying(*properties) : std::nullopt;
        if (properties && !info)
            qCWarning(lcPlatform).noquote()
                << "Marquetto: the media player said what plays in an unexpected form";
        handler(std::move(info));
    });
}

void MprisMusic::fetchNowPlayingArtwork(ArtworkFileHandler handler)
{
    fetchPlayerProperties([self = QPointer(this), handler](const std::optional<QVariantMap>& properties) {
        const std::optional<QVariantMap> metadata =
            properties ? MprisProtocol::dictionary(properties->value(QStringLiteral("Metadata")))
                       : std::nullopt;
        const QVariant url = metadata ? metadata->value(QStringLiteral("mpris:artUrl")) : QVariant();
        if (url.typeId() != QMetaType::QString) {
            qCDebug(lcPlatform).noquote() << "Marquetto: the media player names no artwork";
            handler(std::nullopt);
            return;
        }
        // Streaming services and browsers name their covers by web address.
        const QUrl address(url.toString());
        if (self && ArtworkDownloads::isWebAddress(address))
            self->m_downloads.fetch(address, handler);
        else
            handler(localArtworkFile(url.toString()));
    });
}

void MprisMusic::fetchPlayerProperties(PropertiesFound found)
{
    m_players.withCurrent([this, found = std::move(found)](const std::optional<QString>& player) {
        if (!player) {
            found(std::nullopt);
            return;
        }
        const QDBusMessage call =
            MprisProtocol::call(*player, MprisProtocol::propertiesInterface(), QStringLiteral("GetAll"),
                                {MprisProtocol::playerInterface()});
        DBusAsync::call(
            m_players.bus(), call, m_timeout,
            [found, player = *player](const QDBusMessage& reply) {
                std::optional<QVariantMap> properties = MprisProtocol::dictionary(reply.arguments().value(0));
                if (!properties)
                    qCWarning(lcPlatform).noquote()
                        << "Marquetto: unexpected properties from" << player << ":" << reply.signature();
                found(properties);
            },
            [found, call](const QDBusMessage& error) {
                DBusAsync::logFailure(call, error);
                found(std::nullopt);
            });
    });
}
