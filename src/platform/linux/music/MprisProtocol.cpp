#include "platform/linux/music/MprisProtocol.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace {

// Players disagree on a few metadata types: some send the artists as one text, the track id as a text.
QString text(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return {};
}

} // namespace

QString MprisProtocol::objectPath()
{
    return QStringLiteral("/org/mpris/MediaPlayer2");
}

QString MprisProtocol::playerInterface()
{
    return QStringLiteral("org.mpris.MediaPlayer2.Player");
}

QString MprisProtocol::playlistsInterface()
{
    return QStringLiteral("org.mpris.MediaPlayer2.Playlists");
}

QString MprisProtocol::propertiesInterface()
{
    return QStringLiteral("org.freedesktop.DBus.Properties");
}

QDBusMessage MprisProtocol::call(const QString& service, const QString& interface, const QString& member,
                                 const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, objectPath(), interface, member);
    message.setArguments(arguments);
    return message;
}

std::optional<QVariantMap> MprisProtocol::dictionary(const QVariant& value)
{
    if (value.typeId() == QMetaType::QVariantMap)
        return value.toMap();
    if (value.metaType() != QMetaType::fromType<QDBusArgument>())
        return std::nullopt;
    const auto argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != u"a{sv}")
        return std::nullopt;
    return qdbus_cast<QVariantMap>(argument);
}

QVariant MprisProtocol::unwrap(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<QDBusVariant>())
        return value.value<QDBusVariant>().variant();
    return value;
}

std::optional<NowPlayingInfo> MprisProtocol::nowPlaying(const QVariantMap& playerProperties)
{
    const QVariant status = playerProperties.value(QStringLiteral("PlaybackStatus"));
    if (status.typeId() != QMetaType::QString)
        return std::nullopt;
    const QVariant metadataValue = playerProperties.value(QStringLiteral("Metadata"));
    const std::optional<QVariantMap> metadata =
        metadataValue.isValid() ? dictionary(metadataValue) : QVariantMap();
    if (!metadata)
        return std::nullopt;
    return NowPlayingInfo{status.toString() == u"Playing",
                          text(metadata->value(QStringLiteral("xesam:title"))),
                          text(metadata->value(QStringLiteral("xesam:artist"))),
                          text(metadata->value(QStringLiteral("mpris:trackid"))),
                          text(metadata->value(QStringLiteral("mpris:artUrl")))};
}

std::optional<std::vector<MprisProtocol::Playlist>> MprisProtocol::playlists(const QDBusMessage& reply)
{
    if (reply.signature() != u"a(oss)")
        return std::nullopt;
    const auto argument = reply.arguments().constFirst().value<QDBusArgument>();
    std::vector<Playlist> found;
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusObjectPath id;
        Playlist playlist;
        argument.beginStructure();
        argument >> id >> playlist.name >> playlist.icon;
        argument.endStructure();
        playlist.id = id.path();
        found.push_back(std::move(playlist));
    }
    argument.endArray();
    return found;
}
