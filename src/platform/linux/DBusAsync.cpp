#include "DBusAsync.h"

#include "core/Logging.h"
#include "core/PendingCalls.h"

#include <QCoreApplication>
#include <QDBusPendingCallWatcher>

void DBusAsync::call(const QDBusConnection& bus, const QDBusMessage& message,
                     std::chrono::milliseconds timeout, ReplyHandler onReply)
{
    call(bus, message, timeout, std::move(onReply),
         [message](const QDBusMessage& error) { logFailure(message, error); });
}

void DBusAsync::call(const QDBusConnection& bus, const QDBusMessage& message,
                     std::chrono::milliseconds timeout, ReplyHandler onReply, FailureHandler onFailure)
{
    const QDBusPendingCall pending = bus.asyncCall(message, static_cast<int>(timeout.count()));
    QCoreApplication* const application = QCoreApplication::instance();
    // Without an application object there is no event loop to hear the reply; the call has gone out anyway.
    if (!application)
        return;
    PendingCalls::started();
    auto* watcher = new QDBusPendingCallWatcher(pending);
    QObject::connect(
        watcher, &QDBusPendingCallWatcher::finished, watcher,
        [onReply = std::move(onReply), onFailure = std::move(onFailure)](QDBusPendingCallWatcher* done) {
            done->deleteLater();
            PendingCalls::finished();
            const QDBusMessage reply = done->reply();
            if (reply.type() != QDBusMessage::ReplyMessage) {
                if (onFailure)
                    onFailure(reply);
                return;
            }
            if (onReply)
                onReply(reply);
        });
    // Callers on worker threads have no event loop of their own to deliver the reply: the main thread does.
    // Moving the watcher takes any reply already queued for it along.
    watcher->moveToThread(application->thread());
}

void DBusAsync::logFailure(const QDBusMessage& call, const QDBusMessage& error)
{
    qCWarning(lcPlatform).noquote() << "Marquetto:" << call.interface() + u'.' + call.member() << "on"
                                    << call.path() << "failed:" << error.errorName() << error.errorMessage();
}
