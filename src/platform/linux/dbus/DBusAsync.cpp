#include "platform/linux/dbus/DBusAsync.h"

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
    ask(bus, message, timeout,
        [onReply = std::move(onReply), onFailure = std::move(onFailure)](const QDBusMessage& reply) {
            if (reply.type() != QDBusMessage::ReplyMessage) {
                if (onFailure)
                    onFailure(reply);
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
    // It belongs to the application, so that a call still unanswered at quit goes with it.
    QMetaObject::invokeMethod(application, [application, pending, onAnswer = std::move(onAnswer)] {
        auto* watcher = new QDBusPendingCallWatcher(pending, application);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                         [onAnswer](QDBusPendingCallWatcher* done) {
                             done->deleteLater();
                             PendingCalls::finished();
                             onAnswer(done->reply());
                         });
    });
}

void DBusAsync::logFailure(const QDBusMessage& call, const QDBusMessage& error)
{
    qCWarning(lcPlatform).noquote() << "Marquetto:" << call.interface() + u'.' + call.member() << "on"
                                    << call.path() << "failed:" << error.errorName() << error.errorMessage();
}
