#include "TestMprisPlayer.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kPlaylists = QStringLiteral("org.mpris.MediaPlayer2.Playlists");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

struct PlaylistEntry {
    QDBusObjectPath id;
    QString name;
    QString icon;
};

} // namespace

Q_DECLARE_METATYPE(PlaylistEntry)

namespace {

QDBusArgument& operator<<(QDBusArgument& argument, const PlaylistEntry& entry)
{
    argument.beginStructure();
    argument << entry.id << entry.name << entry.icon;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PlaylistEntry& entry)
{
    argument.beginStructure();
    argument >> entry.id >> entry.name >> entry.icon;
    argument.endStructure();
    return argument;
}

} // namespace

class TestMprisPlayer::Objects final : public QDBusVirtualObject {
public:
    explicit Objects(TestMprisPlayer& player)
        : m_player(player)
    {
    }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (!m_player.answers)
            return true;
        const std::optional<QVariantList> reply = answer(message);
        connection.send(
            reply ? message.createReply(*reply)
                  : message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                             message.member()));
        return true;
    }

private:
    std::optional<QVariantList> answer(const QDBusMessage& message)
    {
        const QVariantList arguments = message.arguments();
        const QString first = arguments.value(0).toString();
        if (message.interface() == kProperties && message.member() == u"GetAll")
            return QVariantList{first == kPlayer ? m_player.properties : QVariantMap()};
        if (message.interface() == kProperties && message.member() == u"Get" && first == kPlayer &&
            m_player.properties.contains(arguments.value(1).toString()))
            return QVariantList{
                QVariant::fromValue(QDBusVariant(m_player.properties.value(arguments.value(1).toString())))};
        if (message.interface() == kPlayer) {
            m_player.calls.push_back({message.member(), arguments});
            Q_EMIT m_player.called(message.member());
            return QVariantList();
        }
        if (message.interface() != kPlaylists || !m_player.playlists)
            return std::nullopt;
        m_player.calls.push_back({message.member(), arguments});
        if (message.member() != u"GetPlaylists")
            return QVariantList();
        QList<PlaylistEntry> entries;
        for (const Playlist& playlist : *m_player.playlists)
            entries.push_back({QDBusObjectPath(playlist.id), playlist.name, playlist.icon});
        return QVariantList{QVariant::fromValue(entries)};
    }

    TestMprisPlayer& m_player;
};

TestMprisPlayer::TestMprisPlayer(QDBusConnection connection, const QString& name)
    : m_connection(std::move(connection))
    , m_name(name)
    , m_objects(std::make_unique<Objects>(*this))
{
    qDBusRegisterMetaType<PlaylistEntry>();
    qDBusRegisterMetaType<QList<PlaylistEntry>>();
    m_connection.registerVirtualObject(kObjectPath, m_objects.get());
    m_connection.registerService(serviceName());
}

TestMprisPlayer::~TestMprisPlayer()
{
    m_connection.unregisterObject(kObjectPath);
}

QString TestMprisPlayer::serviceName() const
{
    return QStringLiteral("org.mpris.MediaPlayer2.") + m_name;
}

void TestMprisPlayer::setStatus(const QString& status)
{
    properties.insert(QStringLiteral("PlaybackStatus"), status);
    announce(QStringLiteral("PlaybackStatus"));
}

void TestMprisPlayer::setMetadata(const QVariantMap& metadata)
{
    properties.insert(QStringLiteral("Metadata"), metadata);
    announce(QStringLiteral("Metadata"));
}

qsizetype TestMprisPlayer::callsTo(const QString& member) const
{
    return std::count_if(calls.cbegin(), calls.cend(),
                         [&member](const Call& call) { return call.member == member; });
}

void TestMprisPlayer::quit()
{
    // Calls already on their way are not answered by a process that has ended. The connection closes with
    // its last reference: this player's and those of the calls on their way.
    answers = false;
    const QString name = m_connection.name();
    m_connection.unregisterObject(kObjectPath);
    m_connection = QDBusConnection(QString());
    QDBusConnection::disconnectFromBus(name);
}

void TestMprisPlayer::announce(const QString& property)
{
    QDBusMessage changed =
        QDBusMessage::createSignal(kObjectPath, kProperties, QStringLiteral("PropertiesChanged"));
    changed << kPlayer << QVariantMap{{property, properties.value(property)}} << QStringList();
    m_connection.send(changed);
}
