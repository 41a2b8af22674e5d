#include "platform/linux/system/NetworkManagerWifi.h"

#include "core/BackgroundQueue.h"
#include "platform/linux/dbus/DBusAsync.h"
#include "platform/linux/system/ProblemLog.h"

#include <QDBusArgument>
#include <QDBusVariant>
#include <QStringDecoder>
#include <QVariantMap>

namespace {

constexpr qsizetype kLongestSsid = 32;
// NetworkManager's NM_ACTIVE_CONNECTION_STATE_ACTIVATED.
constexpr uint kActivated = 2;

QString service()
{
    return QStringLiteral("org.freedesktop.NetworkManager");
}

QDBusMessage propertiesCall(const QString& path, const QString& method, const QString& interface)
{
    QDBusMessage request = QDBusMessage::createMethodCall(
        service(), path, QStringLiteral("org.freedesktop.DBus.Properties"), method);
    request << interface;
    return request;
}

std::optional<QVariantMap> allProperties(const QDBusMessage& reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != u"a{sv}")
        return std::nullopt;
    return qdbus_cast<QVariantMap>(reply.arguments().constFirst());
}

// The object paths a Properties.Get reply holds.
std::optional<QList<QDBusObjectPath>> objectPaths(const QDBusMessage& reply)
{
    if (reply.signature() != u"v")
        return std::nullopt;
    const QVariant value = reply.arguments().constFirst().value<QDBusVariant>().variant();
    if (value.userType() == qMetaTypeId<QList<QDBusObjectPath>>())
        return value.value<QList<QDBusObjectPath>>();
    if (value.userType() != qMetaTypeId<QDBusArgument>() ||
        value.value<QDBusArgument>().currentSignature() != u"ao")
        return std::nullopt;
    return qdbus_cast<QList<QDBusObjectPath>>(value);
}

// Marks that would turn the rest of a line around, or hide text, in whoever draws it.
bool isDirectionControl(char16_t code)
{
    return code == 0x061C || code == 0x200E || code == 0x200F || (code >= 0x202A && code <= 0x202E) ||
           (code >= 0x2066 && code <= 0x2069);
}

} // namespace

NetworkManagerWifi::NetworkManagerWifi(LazyDBusConnection bus, std::chrono::milliseconds timeout)
    : m_bus(std::move(bus))
    , m_timeout(timeout)
{
}

void NetworkManagerWifi::read(std::function<void(SystemStatus::Wifi)> answer)
{
    // The first read connects to the bus, which is not done on the main thread.
    BackgroundQueue::run(
        [bus = m_bus, timeout = m_timeout, problems = m_problems, answer = std::move(answer)]() mutable {
            readConnections(bus.get(), timeout, problems, std::move(answer));
        });
}

void NetworkManagerWifi::readConnections(const QDBusConnection& bus, std::chrono::milliseconds timeout,
                                         std::shared_ptr<ProblemLog> problems, Answer answer)
{
    QDBusMessage request =
        propertiesCall(QStringLiteral("/org/freedesktop/NetworkManager"), QStringLiteral("Get"), service());
    request << QStringLiteral("ActiveConnections");
    DBusAsync::ask(bus, request, timeout, [bus, timeout, problems, answer](const QDBusMessage& reply) {
        if (reply.type() != QDBusMessage::ReplyMessage) {
            // Without NetworkManager there is no Wi-Fi we can see, which is not worth a line.
            if (reply.errorName() != u"org.freedesktop.DBus.Error.ServiceUnknown")
                problems->report(reply.errorName() + u' ' + reply.errorMessage());
            answer({});
            return;
        }
        const std::optional<QList<QDBusObjectPath>> connections = objectPaths(reply);
        if (!connections) {
            problems->report(QStringLiteral("unexpected active connections ") + reply.signature());
            answer({});
            return;
        }
        problems->report(QString());
        tryConnection(bus, timeout, *connections, problems, answer);
    });
}

void NetworkManagerWifi::tryConnection(const QDBusConnection& bus, std::chrono::milliseconds timeout,
                                       QList<QDBusObjectPath> connections,
                                       std::shared_ptr<ProblemLog> problems, Answer answer)
{
    if (connections.isEmpty()) {
        answer({});
        return;
    }
    const QDBusObjectPath connection = connections.takeFirst();
    const QDBusMessage request =
        propertiesCall(connection.path(), QStringLiteral("GetAll"),
                       QStringLiteral("org.freedesktop.NetworkManager.Connection.Active"));
    DBusAsync::ask(bus, request, timeout, [=](const QDBusMessage& reply) {
        const std::optional<QVariantMap> properties = allProperties(reply);
        // A connection that went away between the two questions is simply not the Wi-Fi one.
        const bool wireless = properties &&
                              properties->value(QStringLiteral("Type")).toString() == u"802-11-wireless" &&
                              properties->value(QStringLiteral("State")).toUInt() == kActivated;
        const auto accessPoint =
            wireless ? properties->value(QStringLiteral("SpecificObject")).value<QDBusObjectPath>()
                     : QDBusObjectPath();
        if (accessPoint.path().isEmpty() || accessPoint.path() == u"/") {
            tryConnection(bus, timeout, connections, problems, answer);
            return;
        }
        readAccessPoint(bus, timeout, accessPoint, answer);
    });
}

void NetworkManagerWifi::readAccessPoint(const QDBusConnection& bus, std::chrono::milliseconds timeout,
                                         const QDBusObjectPath& accessPoint, Answer answer)
{
    const QDBusMessage request = propertiesCall(accessPoint.path(), QStringLiteral("GetAll"),
                                                QStringLiteral("org.freedesktop.NetworkManager.AccessPoint"));
    DBusAsync::ask(bus, request, timeout, [answer](const QDBusMessage& reply) {
        const std::optional<QVariantMap> properties = allProperties(reply);
        if (!properties) {
            answer({});
            return;
        }
        const QVariant strength = properties->value(QStringLiteral("Strength"));
        SystemStatus::Wifi wifi;
        wifi.ssid = ssidText(properties->value(QStringLiteral("Ssid")).toByteArray());
        wifi.strength =
            strength.typeId() == QMetaType::UChar ? std::min(int(strength.value<uchar>()), 100) : 0;
        answer(wifi);
    });
}

std::optional<QString> NetworkManagerWifi::ssidText(const QByteArray& ssid)
{
    const QByteArray bytes = ssid.left(kLongestSsid);
    if (bytes.isEmpty())
        return std::nullopt;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    for (QChar& character : text) {
        const QChar::Category category = character.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph || isDirectionControl(character.unicode()))
            character = QChar::ReplacementCharacter;
    }
    return text;
}
