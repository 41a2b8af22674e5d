#include "support/MprisProbe.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>

namespace {

const QString objectPath = QStringLiteral("/org/mpris/MediaPlayer2");

} // namespace

MprisProbe::MprisProbe(QDBusConnection bus, QString service)
    : m_bus(std::move(bus))
    , m_service(std::move(service))
{
}

QVariant MprisProbe::property(const QString& name) const
{
    const QDBusMessage reply = m_bus.call(
        QDBusMessage::createMethodCall(
            m_service, objectPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"))
        << QStringLiteral("org.mpris.MediaPlayer2.Player") << name);
    return reply.arguments().value(0).value<QDBusVariant>().variant();
}

QString MprisProbe::title() const
{
    const QVariantMap metadata = qdbus_cast<QVariantMap>(property(QStringLiteral("Metadata")));
    return metadata.value(QStringLiteral("xesam:title")).toString();
}

QString MprisProbe::playbackStatus() const
{
    return property(QStringLiteral("PlaybackStatus")).toString();
}

QStringList MprisProbe::playlists() const
{
    const QDBusMessage reply =
        m_bus.call(QDBusMessage::createMethodCall(m_service, objectPath,
                                                  QStringLiteral("org.mpris.MediaPlayer2.Playlists"),
                                                  QStringLiteral("GetPlaylists"))
                   << 0U << 100U << QStringLiteral("Alphabetical") << false);
    QStringList names;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return names;
    const QDBusArgument list = reply.arguments().constFirst().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        QDBusObjectPath id;
        QString name;
        QString icon;
        list.beginStructure();
        list >> id >> name >> icon;
        list.endStructure();
        names << name;
    }
    list.endArray();
    return names;
}
