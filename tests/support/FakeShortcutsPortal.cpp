#include "FakeShortcutsPortal.h"

#include <QDBusObjectPath>
#include <QDBusVariant>

const QString FakeShortcutsPortal::path = QStringLiteral("/org/freedesktop/portal/desktop");
const QString FakeShortcutsPortal::createSession =
    QStringLiteral("org.freedesktop.portal.GlobalShortcuts.CreateSession");
const QString FakeShortcutsPortal::bindShortcuts =
    QStringLiteral("org.freedesktop.portal.GlobalShortcuts.BindShortcuts");
const QString FakeShortcutsPortal::sessionPath =
    QStringLiteral("/org/freedesktop/portal/desktop/session/1_1/ours");

FakeShortcutsPortal::FakeShortcutsPortal(QDBusConnection connection)
    : m_service(std::move(connection), QStringLiteral("org.freedesktop.portal.Desktop"))
{
    PortalShortcut::registerType();
}

void FakeShortcutsPortal::offer()
{
    m_service.answer(path, QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                     {QVariant::fromValue(QDBusVariant(uint(1)))});
    // Where the request answers does not matter: callers listen where they expect the answer.
    const QVariant request =
        QVariant::fromValue(QDBusObjectPath(path + QStringLiteral("/request/elsewhere/1")));
    m_service.answer(path, createSession, {request});
    m_service.answer(path, bindShortcuts, {request});
}

bool FakeShortcutsPortal::waitForNext(const QString& method)
{
    return m_service.waitForCalls(method, ++m_waitedFor[method]);
}

bool FakeShortcutsPortal::respond(const QString& method, uint code, const QVariantMap& results)
{
    if (!waitForNext(method))
        return false;
    const FakeDBusService::Call call = m_service.callsTo(method).at(m_waitedFor[method] - 1);
    const QString token = qdbus_cast<QVariantMap>(call.arguments.value(call.arguments.size() - 1))
                              .value(QStringLiteral("handle_token"))
                              .toString();
    if (token.isEmpty())
        return false;
    QString sender = call.sender.mid(1);
    sender.replace(u'.', u'_');
    m_service.emitSignal(path + QStringLiteral("/request/") + sender + u'/' + token,
                         QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"),
                         {code, results});
    return true;
}

bool FakeShortcutsPortal::createTheSession()
{
    return respond(createSession, 0,
                   {{QStringLiteral("session_handle"), QVariant::fromValue(QDBusObjectPath(sessionPath))}});
}

bool FakeShortcutsPortal::createTheSessionBinding(const PortalShortcuts& bound)
{
    return respond(createSession, 0,
                   {{QStringLiteral("session_handle"), QVariant::fromValue(QDBusObjectPath(sessionPath))},
                    {QStringLiteral("shortcuts"), QVariant::fromValue(bound)}});
}

bool FakeShortcutsPortal::bind(const PortalShortcuts& bound)
{
    return respond(bindShortcuts, 0, {{QStringLiteral("shortcuts"), QVariant::fromValue(bound)}});
}

void FakeShortcutsPortal::emitShortcutSignal(const QString& name, const QVariantList& arguments)
{
    m_service.emitSignal(path, QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), name, arguments);
}

PortalShortcut FakeShortcutsPortal::bound(const QString& id, const QString& trigger)
{
    return {id, {{QStringLiteral("trigger_description"), trigger}}};
}
