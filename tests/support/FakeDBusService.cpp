#include "FakeDBusService.h"

#include "core/BackgroundQueue.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QMutexLocker>
#include <QSignalSpy>

namespace {

QString scriptKey(const QString& path, const QString& method)
{
    return path + u' ' + method;
}

} // namespace

class FakeDBusService::Objects final : public QDBusVirtualObject {
public:
    explicit Objects(FakeDBusService& service)
        : m_service(service)
    {
    }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QString method = message.interface() + u'.' + message.member();
        QMutexLocker lock(&m_service.m_mutex);
        m_service.m_calls.push_back({message.path(), method, message.arguments(), message.service()});
        // The test's spies live on the main thread.
        QMetaObject::invokeMethod(
            &m_service, [service = &m_service] { Q_EMIT service->called(); }, Qt::QueuedConnection);
        const auto answer = m_service.m_answers.constFind(scriptKey(message.path(), method));
        if (answer == m_service.m_answers.constEnd())
            connection.send(
                message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                         QStringLiteral("not scripted: ") + method));
        else if (*answer)
            connection.send(message.createReply(**answer));
        return true;
    }

private:
    FakeDBusService& m_service;
};

FakeDBusService::FakeDBusService(QDBusConnection connection, const QString& serviceName)
    : m_connection(std::move(connection))
    , m_serviceName(serviceName)
    , m_objects(std::make_unique<Objects>(*this))
{
    answer(QStringLiteral("/"), QStringLiteral("test.FakeDBusService.Sync"));
    // Registering gives the objects a helper of QtDBus's own, which must move to the service's thread with
    // them.
    m_connection.registerVirtualObject(QStringLiteral("/"), m_objects.get(), QDBusConnection::SubPath);
    m_objects->moveToThread(&m_thread);
    m_thread.start();
    m_connection.registerService(serviceName);
}

FakeDBusService::~FakeDBusService()
{
    m_connection.unregisterObject(QStringLiteral("/"));
    m_thread.quit();
    m_thread.wait();
}

void FakeDBusService::answer(const QString& path, const QString& method, const QVariantList& replyArguments)
{
    QMutexLocker lock(&m_mutex);
    m_answers.insert(scriptKey(path, method), replyArguments);
}

void FakeDBusService::neverAnswer(const QString& path, const QString& method)
{
    QMutexLocker lock(&m_mutex);
    m_answers.insert(scriptKey(path, method), std::nullopt);
}

void FakeDBusService::emitSignal(const QString& path, const QString& interface, const QString& name,
                                 const QVariantList& arguments)
{
    QDBusMessage signal = QDBusMessage::createSignal(path, interface, name);
    signal.setArguments(arguments);
    m_connection.send(signal);
}

std::vector<FakeDBusService::Call> FakeDBusService::callsTo(const QString& method) const
{
    QMutexLocker lock(&m_mutex);
    std::vector<Call> calls;
    std::copy_if(m_calls.cbegin(), m_calls.cend(), std::back_inserter(calls),
                 [&method](const Call& call) { return call.method == method; });
    return calls;
}

bool FakeDBusService::waitForCalls(const QString& method, std::size_t count)
{
    QSignalSpy spy(this, &FakeDBusService::called);
    const QDeadlineTimer deadline(5000);
    while (callsTo(method).size() < count) {
        if (!spy.wait(static_cast<int>(deadline.remainingTime())))
            return false;
    }
    return true;
}

void FakeDBusService::settle(const QDBusConnection& client)
{
    // Calls made from the background queue are only listened for once their job has handed them to this
    // thread. The service answers one call after the other and its replies travel in order: once this round
    // trip's answer is heard, every earlier reply has been heard, and what it handles them with is due here.
    // The round trip is not a blocking call: QtDBus takes a blocking call's reply out of turn, ahead of
    // earlier replies not yet handed to this thread.
    BackgroundQueue::waitForDone();
    QDBusPendingCallWatcher roundTrip(client.asyncCall(QDBusMessage::createMethodCall(
        m_serviceName, QStringLiteral("/"), QStringLiteral("test.FakeDBusService"), QStringLiteral("Sync"))));
    QSignalSpy answered(&roundTrip, &QDBusPendingCallWatcher::finished);
    answered.wait(5000);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
