#include "platform/linux/system/DesktopSleepInhibitor.h"

#include "core/BackgroundQueue.h"
#include "core/Logging.h"
#include "platform/linux/dbus/DBusAsync.h"

#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QPointer>
#include <unistd.h>

namespace {

const QString application = QStringLiteral("Marquetto");
const QString reason = QStringLiteral("Keep Awake");

// The flags the portal and GNOME's session manager share: 4 suspending, 8 the session going idle.
constexpr uint suspendAndIdle = 4 | 8;

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString sessionManagerService = QStringLiteral("org.gnome.SessionManager");
const QString sessionManagerPath = QStringLiteral("/org/gnome/SessionManager");
const QString screenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString screenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");

QString failure(const QDBusMessage& reply)
{
    return reply.type() == QDBusMessage::ErrorMessage ? reply.errorName() : reply.signature();
}

bool replied(const QDBusMessage& reply, QStringView signature)
{
    return reply.type() == QDBusMessage::ReplyMessage && reply.signature() == signature;
}

} // namespace

DesktopSleepInhibitor::DesktopSleepInhibitor(LazyDBusConnection system, LazyDBusConnection session,
                                             std::chrono::milliseconds timeout, QObject* parent)
    : SleepInhibitor(parent)
    , m_system(std::move(system))
    , m_session(std::move(session))
    , m_timeout(timeout)
    , m_ways(ways())
{
}

DesktopSleepInhibitor::~DesktopSleepInhibitor()
{
    release();
}

std::vector<DesktopSleepInhibitor::Way> DesktopSleepInhibitor::ways() const
{
    const auto callOn = [timeout = m_timeout](const LazyDBusConnection& bus, QDBusMessage call) {
        return [bus, call = std::move(call), timeout] { DBusAsync::call(bus.get(), call, timeout); };
    };

    QDBusMessage portal = QDBusMessage::createMethodCall(
        portalService, QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Inhibit"), QStringLiteral("Inhibit"));
    portal << QString() << suspendAndIdle << QVariantMap{{QStringLiteral("reason"), reason}};

    QDBusMessage gnome = QDBusMessage::createMethodCall(sessionManagerService, sessionManagerPath,
                                                        sessionManagerService, QStringLiteral("Inhibit"));
    gnome << application << 0U << reason << suspendAndIdle;

    QDBusMessage logind = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    logind << QStringLiteral("idle:sleep") << application << reason << QStringLiteral("block");

    QDBusMessage screenSaver = QDBusMessage::createMethodCall(screenSaverService, screenSaverPath,
                                                              screenSaverService, QStringLiteral("Inhibit"));
    screenSaver << application << reason;

    // The give-back of a cookie handed out by `service`.
    const auto cookie = [callOn, session = m_session](const QString& service, const QString& path,
                                                      const QString& method) {
        return [=](const QDBusMessage& reply) -> GiveBack {
            if (!replied(reply, u"u"))
                return {};
            QDBusMessage giveBack = QDBusMessage::createMethodCall(service, path, service, method);
            giveBack << reply.arguments().constFirst().toUInt();
            return callOn(session, giveBack);
        };
    };

    return {
        {QStringLiteral("the desktop portal"), m_session, portal,
         [callOn, session = m_session](const QDBusMessage& reply) -> GiveBack {
             if (!replied(reply, u"o"))
                 return {};
             const QString request = reply.arguments().constFirst().value<QDBusObjectPath>().path();
             return callOn(session,
                           QDBusMessage::createMethodCall(portalService, request,
                                                          QStringLiteral("org.freedesktop.portal.Request"),
                                                          QStringLiteral("Close")));
         }},
        {QStringLiteral("the GNOME session manager"), m_session, gnome,
         cookie(sessionManagerService, sessionManagerPath, QStringLiteral("Uninhibit"))},
        {QStringLiteral("logind"), m_system, logind,
         [](const QDBusMessage& reply) -> GiveBack {
             if (!replied(reply, u"h"))
                 return {};
             // Ours from here on: the reply's copies must not close it behind our back.
             const int descriptor =
                 reply.arguments().constFirst().value<QDBusUnixFileDescriptor>().takeFileDescriptor();
             if (descriptor < 0)
                 return {};
             return [descriptor] { ::close(descriptor); };
         }},
        {QStringLiteral("the screen saver"), m_session, screenSaver,
         cookie(screenSaverService, screenSaverPath, QStringLiteral("UnInhibit"))},
    };
}

void DesktopSleepInhibitor::inhibit(Answer answer)
{
    release();
    ask(0, m_request, std::move(answer));
}

void DesktopSleepInhibitor::release()
{
    ++m_request;
    m_holder.clear();
    if (m_giveBack)
        std::exchange(m_giveBack, {})();
}

void DesktopSleepInhibitor::ask(std::size_t way, quint64 request, Answer answer)
{
    if (way == m_ways.size()) {
        qCWarning(lcPlatform) << "Marquetto: nothing on this desktop can keep the machine awake";
        answer(false);
        return;
    }
    // Reaching a bus for the first time is not done on the main thread.
    BackgroundQueue::run([guard = QPointer(this), bus = m_ways[way].bus, call = m_ways[way].call,
                          timeout = m_timeout, way, request, answer = std::move(answer)] {
        DBusAsync::ask(bus.get(), call, timeout, [guard, way, request, answer](const QDBusMessage& reply) {
            if (guard)
                guard->answered(way, request, answer, reply);
            else
                answer(false);
        });
    });
}

void DesktopSleepInhibitor::answered(std::size_t way, quint64 request, const Answer& answer,
                                     const QDBusMessage& reply)
{
    GiveBack giveBack = m_ways[way].take(reply);
    if (request != m_request) {
        if (giveBack)
            giveBack();
        answer(false);
        return;
    }
    if (!giveBack) {
        qCInfo(lcPlatform).noquote() << "Marquetto: no sleep inhibition from" << m_ways[way].holder + u':'
                                     << failure(reply);
        ask(way + 1, request, answer);
        return;
    }
    m_holder = m_ways[way].holder;
    m_giveBack = std::move(giveBack);
    answer(true);
}
