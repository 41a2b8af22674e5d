#include "platform/linux/system/GeoClueLocation.h"

#include "core/Logging.h"
#include "core/ProcessRunner.h"
#include "platform/linux/dbus/DBusAsync.h"

#include <QDBusArgument>
#include <QDBusVariant>
#include <QPointer>
#include <QVariantMap>
#include <algorithm>
#include <cmath>

namespace {

const QString service = QStringLiteral("org.freedesktop.GeoClue2");
const QString clientInterface = QStringLiteral("org.freedesktop.GeoClue2.Client");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
// GeoClue hands the desktop identifier to the agent, which names the application to the user.
const QString desktopId = QStringLiteral("marquetto");
// Each step answers at once unless the agent asks the user, which only Start waits for.
constexpr std::chrono::milliseconds longestStep{25000};

Location::Status statusOf(const QDBusMessage& error)
{
    const QString name = error.errorName();
    if (name == u"org.freedesktop.DBus.Error.AccessDenied")
        return Location::Status::denied;
    if (name == u"org.freedesktop.DBus.Error.ServiceUnknown" ||
        name == u"org.freedesktop.DBus.Error.NameHasNoOwner" ||
        name == u"org.freedesktop.DBus.Error.Disconnected" || name == u"org.freedesktop.DBus.Error.NoServer")
        return Location::Status::unavailable;
    return Location::Status::failed;
}

double number(const QVariantMap& properties, const char* name, double limit)
{
    bool read = false;
    const double value = properties.value(QString::fromLatin1(name)).toDouble(&read);
    return read && std::isfinite(value) && std::abs(value) <= limit ? value : NAN;
}

} // namespace

GeoClueLocation::GeoClueLocation(LazyDBusConnection bus, ProcessRunner& processes, QString controlCenter,
                                 std::chrono::milliseconds deadline, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_processes(processes)
    , m_controlCenter(std::move(controlCenter))
{
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(deadline);
    connect(&m_deadline, &QTimer::timeout, this, &GeoClueLocation::giveUp);
}

// No step waits longer than the whole request may take.
std::chrono::milliseconds GeoClueLocation::stepTimeout() const
{
    return std::min(longestStep, m_deadline.intervalAsDuration());
}

void GeoClueLocation::locate(std::function<void(Answer)> answer)
{
    m_waiting.push_back(std::move(answer));
    if (m_waiting.size() > 1)
        return;
    if (!m_bus.get().isConnected()) {
        finish({Status::unavailable});
        return;
    }
    ++m_request;
    m_deadline.start();
    then(QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/GeoClue2/Manager"),
                                        QStringLiteral("org.freedesktop.GeoClue2.Manager"),
                                        QStringLiteral("GetClient")),
         [this](const QDBusMessage& reply) {
             m_client = reply.arguments().value(0).value<QDBusObjectPath>().path();
             if (m_client.isEmpty()) {
                 qCWarning(lcPlatform).noquote() << "Marquetto: GeoClue gave no client";
                 finish({Status::failed});
                 return;
             }
             setClientProperty(QStringLiteral("DesktopId"), desktopId, [this] {
                 setClientProperty(QStringLiteral("RequestedAccuracyLevel"),
                                   QVariant::fromValue(cityAccuracy), [this] { startClient(); });
             });
         });
}

void GeoClueLocation::openSettings()
{
    if (!m_controlCenter.isEmpty())
        m_processes.fireAndForget(m_controlCenter, {QStringLiteral("location")});
}

void GeoClueLocation::giveUp()
{
    if (m_waiting.empty())
        return;
    qCWarning(lcPlatform).noquote() << "Marquetto: GeoClue gave no position in time";
    finish({Status::failed});
}

void GeoClueLocation::then(const QDBusMessage& message, std::function<void(const QDBusMessage&)> next)
{
    DBusAsync::ask(m_bus.get(), message, stepTimeout(),
                   [self = QPointer(this), request = m_request, message,
                    next = std::move(next)](const QDBusMessage& reply) {
                       // A request that already ended (given up) ignores what is still coming.
                       if (!self || self->m_waiting.empty() || self->m_request != request)
                           return;
                       if (reply.type() == QDBusMessage::ReplyMessage) {
                           next(reply);
                           return;
                       }
                       const Status status = statusOf(reply);
                       if (status == Status::failed)
                           DBusAsync::logFailure(message, reply);
                       self->finish({status});
                   });
}

void GeoClueLocation::setClientProperty(const QString& name, const QVariant& value,
                                        std::function<void()> next)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(service, m_client, propertiesInterface, QStringLiteral("Set"));
    message << clientInterface << name << QVariant::fromValue(QDBusVariant(value));
    then(message, [next = std::move(next)](const QDBusMessage&) { next(); });
}

void GeoClueLocation::startClient()
{
    QDBusConnection bus = m_bus.get();
    bus.connect(service, m_client, clientInterface, QStringLiteral("LocationUpdated"), this,
                SLOT(locationUpdated(QDBusObjectPath, QDBusObjectPath)));
    then(QDBusMessage::createMethodCall(service, m_client, clientInterface, QStringLiteral("Start")),
         [](const QDBusMessage&) {});
}

void GeoClueLocation::locationUpdated(const QDBusObjectPath&, const QDBusObjectPath& current)
{
    if (m_waiting.empty())
        return;
    QDBusMessage message = QDBusMessage::createMethodCall(service, current.path(), propertiesInterface,
                                                          QStringLiteral("GetAll"));
    message << QStringLiteral("org.freedesktop.GeoClue2.Location");
    then(message, [this](const QDBusMessage& reply) { readPosition(reply); });
}

void GeoClueLocation::readPosition(const QDBusMessage& reply)
{
    const QVariantMap properties = qdbus_cast<QVariantMap>(reply.arguments().value(0));
    const double latitude = number(properties, "Latitude", 90);
    const double longitude = number(properties, "Longitude", 180);
    if (std::isnan(latitude) || std::isnan(longitude)) {
        qCWarning(lcPlatform).noquote() << "Marquetto: GeoClue gave a position out of range";
        finish({Status::failed});
        return;
    }
    finish({Status::located, latitude, longitude});
}

void GeoClueLocation::finish(Answer answer)
{
    m_deadline.stop();
    if (!m_client.isEmpty()) {
        QDBusConnection bus = m_bus.get();
        bus.disconnect(service, m_client, clientInterface, QStringLiteral("LocationUpdated"), this,
                       SLOT(locationUpdated(QDBusObjectPath, QDBusObjectPath)));
        // Nobody needs the client running once it answered; a client never started refuses, harmlessly.
        DBusAsync::ask(
            bus, QDBusMessage::createMethodCall(service, m_client, clientInterface, QStringLiteral("Stop")),
            stepTimeout(), [](const QDBusMessage&) {});
        m_client.clear();
    }
    for (const auto& waiting : std::exchange(m_waiting, {}))
        waiting(answer);
}
