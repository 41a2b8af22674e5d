#include "DBusAsync.h"

#include "core/Logging.h"
#include "core/PendingCalls.h"

#include <QCoreApplication>
#include <QDBusPendingCallWatcher>

void DBusAsync::call(const QDBusConnection& bus, const QDBusMessage& message,
                     std::chrono::milliseconds timeout, ReplyHandler onReply)
{
    ask(bus, message, timeout,
        [method = message.interface() + u'.' + message.member(), path = message.path(),
         onReply = std::move(onReply)](const QDBusMessage& reply) {
            if (reply.type() != QDBusMessage::ReplyMessage) {
                qCWarning(lcPlatform).noquote() << "Marquetto:" << method << "on" << path
                                                << "failed:" << reply.errorName() << reply.errorMessage();
                return;
            }
            if (onReply)
                onReply(reply);
        });
}

void DBusAsync::ask(const QDBusConnection& bus, const QDBusMessage& message,
                    std::chrono::milliseconds timeout, ReplyHandler onAnswer)
{
    const QDBusPendingCall pending = bus.asyncCall(message, static_cast<int>(timeout.count()));
    QCoreApplication* const application = QCoreApplication::instance();
    // Without an application object there is no event loop to hear the reply; the call has gone out anyway.
    if (!application)
        return;
    PendingCalls::started();
    auto* watcher = new QDBusPendingCallWatcher(pending);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [onAnswer = std::move(onAnswer)](QDBusPendingCallWatcher* done) {
                         done->deleteLater();
                         PendingCalls::finished();
                         onAnswer(done->reply());
                     });
    // Callers on worker threads have no event loop of their own to deliver the reply: the main thread does.
    // Moving the watcher takes any reply already queued for it along.
    watcher->moveToThread(application->thread());
}
