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
    // The watcher is made on the main thread: a reply already in when a watcher is made is announced by an
    // event to the thread that made it, and worker threads run no event loop to hear it.
    QMetaObject::invokeMethod(application, [pending, onAnswer = std::move(onAnswer)] {
        auto* watcher = new QDBusPendingCallWatcher(pending);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                         [onAnswer](QDBusPendingCallWatcher* done) {
                             done->deleteLater();
                             PendingCalls::finished();
                             onAnswer(done->reply());
                         });
    });
}
