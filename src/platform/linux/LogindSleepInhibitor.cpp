#include "LogindSleepInhibitor.h"

#include "core/BackgroundQueue.h"
#include "core/Logging.h"
#include "platform/linux/DBusAsync.h"

#include <QDBusUnixFileDescriptor>
#include <QPointer>
#include <unistd.h>

namespace {

const QString screenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString screenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");

QDBusMessage screenSaverCall(const QString& method)
{
    return QDBusMessage::createMethodCall(screenSaverService, screenSaverPath, screenSaverService, method);
}

QString failure(const QDBusMessage& reply)
{
    return reply.type() == QDBusMessage::ErrorMessage ? reply.errorName() : reply.signature();
}

} // namespace

LogindSleepInhibitor::LogindSleepInhibitor(LazyDBusConnection system, LazyDBusConnection session,
                                           std::chrono::milliseconds timeout, QObject* parent)
    : SleepInhibitor(parent)
    , m_system(std::move(system))
    , m_session(std::move(session))
    , m_timeout(timeout)
{
}

LogindSleepInhibitor::~LogindSleepInhibitor()
{
    release();
}

void LogindSleepInhibitor::inhibit(Answer answer)
{
    release();
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("idle:sleep") << QStringLiteral("Marquetto") << QStringLiteral("Keep Awake")
         << QStringLiteral("block");
    ask(m_system, call,
        [request = m_request, answer = std::move(answer)](LogindSleepInhibitor& self,
                                                          const QDBusMessage& reply) {
            const bool gotDescriptor =
                reply.type() == QDBusMessage::ReplyMessage && reply.signature() == u"h";
            // Ours from here on: the reply's copies must not close it behind our back.
            const int descriptor =
                gotDescriptor
                    ? reply.arguments().constFirst().value<QDBusUnixFileDescriptor>().takeFileDescriptor()
                    : -1;
            if (!self.isCurrent(request)) {
                if (descriptor >= 0)
                    ::close(descriptor);
                answer(false);
                return;
            }
            if (descriptor >= 0) {
                self.m_descriptor = descriptor;
                answer(true);
                return;
            }
            qCInfo(lcPlatform).noquote()
                << "Marquetto: logind gave no sleep inhibitor, asking the screen saver:" << failure(reply);
            self.askScreenSaver(request, answer);
        });
}

void LogindSleepInhibitor::release()
{
    ++m_request;
    if (m_descriptor >= 0)
        ::close(std::exchange(m_descriptor, -1));
    if (m_cookie) {
        QDBusMessage call = screenSaverCall(QStringLiteral("UnInhibit"));
        call << *std::exchange(m_cookie, std::nullopt);
        DBusAsync::call(m_session.get(), call, m_timeout);
    }
}

void LogindSleepInhibitor::askScreenSaver(quint64 request, Answer answer)
{
    QDBusMessage call = screenSaverCall(QStringLiteral("Inhibit"));
    call << QStringLiteral("Marquetto") << QStringLiteral("Keep Awake");
    ask(m_session, call,
        [request, answer = std::move(answer)](LogindSleepInhibitor& self, const QDBusMessage& reply) {
            const bool gotCookie = reply.type() == QDBusMessage::ReplyMessage && reply.signature() == u"u";
            if (!gotCookie) {
                qCWarning(lcPlatform).noquote()
                    << "Marquetto: neither logind nor a screen saver can keep the machine awake:"
                    << failure(reply);
                answer(false);
                return;
            }
            const uint cookie = reply.arguments().constFirst().toUInt();
            if (!self.isCurrent(request)) {
                QDBusMessage giveBack = screenSaverCall(QStringLiteral("UnInhibit"));
                giveBack << cookie;
                DBusAsync::call(self.m_session.get(), giveBack, self.m_timeout);
                answer(false);
                return;
            }
            self.m_cookie = cookie;
            answer(true);
        });
}

void LogindSleepInhibitor::ask(const LazyDBusConnection& bus, QDBusMessage call,
                               std::function<void(LogindSleepInhibitor&, const QDBusMessage&)> handle)
{
    // Reaching a bus for the first time is not done on the main thread.
    BackgroundQueue::run([guard = QPointer(this), bus, call = std::move(call), timeout = m_timeout,
                          handle = std::move(handle)] {
        DBusAsync::ask(bus.get(), call, timeout, [guard, handle](const QDBusMessage& reply) {
            if (guard)
                handle(*guard, reply);
        });
    });
}
