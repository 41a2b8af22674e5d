#include "platform/linux/hotkeys/PortalGlobalShortcuts.h"

#include "core/Logging.h"
#include "platform/HotKeyTrigger.h"
#include "platform/linux/dbus/DBusAsync.h"
#include "platform/linux/hotkeys/PortalShortcut.h"

#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QPointer>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");
// Plasma keeps the keys a user picks for the program under its app id and this token: the same token on
// every start keeps them.
const QString sessionToken = QStringLiteral("marquetto_keys");

// Unique among the requests of this connection, as the portal asks.
QString nextToken()
{
    static unsigned count = 0;
    return QStringLiteral("marquetto_") + QString::number(++count);
}

// Where the portal answers a request made with `token`; known before the call, so that no answer can come
// before anybody listens.
QString requestPath(const QDBusConnection& bus, const QString& token)
{
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    return portalPath + QStringLiteral("/request/") + sender + u'/' + token;
}

// Portals pass handles as object paths, some older ones as strings.
QString handleText(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.metaType() == QMetaType::fromType<QString>() ? value.toString() : QString();
}

std::optional<PortalShortcuts> shortcutsIn(const QVariant& value)
{
    if (value.metaType() != QMetaType::fromType<QDBusArgument>())
        return std::nullopt;
    const auto argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("a(sa{sv})"))
        return std::nullopt;
    return qdbus_cast<PortalShortcuts>(argument);
}

} // namespace

PortalGlobalShortcuts::PortalGlobalShortcuts(LazyDBusConnection bus, QObject* parent)
    : GlobalHotKeys(parent)
    , m_bus(std::move(bus))
{
    PortalShortcut::registerType();
    m_bindTimer.setSingleShot(true);
    m_bindTimer.setInterval(0);
    connect(&m_bindTimer, &QTimer::timeout, this, &PortalGlobalShortcuts::bindRegistered);
    m_answerTimer.setSingleShot(true);
    m_answerTimer.setInterval(answerTimeout);
    connect(&m_answerTimer, &QTimer::timeout, this, &PortalGlobalShortcuts::answerTimedOut);
}

PortalGlobalShortcuts::~PortalGlobalShortcuts() = default;

std::optional<unsigned> PortalGlobalShortcuts::offeredVersion(const QDBusConnection& bus,
                                                              std::chrono::milliseconds timeout)
{
    if (!bus.isConnected())
        return std::nullopt;
    QDBusMessage get = QDBusMessage::createMethodCall(
        portalService, portalPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << shortcutsInterface << QStringLiteral("version");
    const QDBusMessage reply = bus.call(get, QDBus::Block, static_cast<int>(timeout.count()));
    if (reply.type() != QDBusMessage::ReplyMessage)
        return std::nullopt;
    bool isNumber = false;
    const unsigned version = reply.arguments().value(0).value<QDBusVariant>().variant().toUInt(&isNumber);
    return isNumber && version > 0 ? std::optional(version) : std::nullopt;
}

bool PortalGlobalShortcuts::registerKey(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t id,
                                        const HotKeyName& name)
{
    if (m_step == Step::off)
        return false;
    m_keys[id] = Key{keyCode, modifiers, name};
    m_triggers.try_emplace(id);
    m_bindTimer.start();
    return true;
}

void PortalGlobalShortcuts::bindRegistered()
{
    switch (m_step) {
    case Step::idle:
        createSession();
        break;
    case Step::bound:
        bind();
        break;
    case Step::creatingSession:
    case Step::binding:
        m_bindAgain = true;
        break;
    case Step::off:
        break;
    }
}

void PortalGlobalShortcuts::createSession()
{
    // Copied: listening for signals changes the connection's state.
    QDBusConnection bus = m_bus.get();
    if (!bus.isConnected()) {
        turnOff(QStringLiteral("there is no session bus"));
        return;
    }
    bus.connect(portalService, portalPath, shortcutsInterface, QStringLiteral("Activated"), this,
                SLOT(handleActivated(QDBusMessage)));
    bus.connect(portalService, portalPath, shortcutsInterface, QStringLiteral("ShortcutsChanged"), this,
                SLOT(handleShortcutsChanged(QDBusMessage)));
    m_portalWatch = std::make_unique<QDBusServiceWatcher>(portalService, bus,
                                                          QDBusServiceWatcher::WatchForUnregistration);
    connect(m_portalWatch.get(), &QDBusServiceWatcher::serviceUnregistered, this,
            [this] { turnOff(QStringLiteral("the desktop portal left the session bus")); });

    const QString token = nextToken();
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface,
                                                       QStringLiteral("CreateSession"));
    m_bindAgain = false;
    call << QVariantMap{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("session_handle_token"), sessionToken},
                        {QStringLiteral("shortcuts"), shortcutsToBind()}};
    request(Step::creatingSession, QStringLiteral("CreateSession"), call, token);
}

QVariant PortalGlobalShortcuts::shortcutsToBind() const
{
    PortalShortcuts shortcuts;
    for (const auto& [id, key] : m_keys) {
        QVariantMap properties{{QStringLiteral("description"), key.name.description}};
        if (const std::optional<QString> trigger = HotKeyTrigger::text(key.keyCode, key.modifiers))
            properties.insert(QStringLiteral("preferred_trigger"), *trigger);
        shortcuts.append({key.name.id, properties});
    }
    return QVariant::fromValue(shortcuts);
}

void PortalGlobalShortcuts::bind()
{
    m_bindAgain = false;
    const QString token = nextToken();
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface,
                                                       QStringLiteral("BindShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(m_session)) << shortcutsToBind() << QString()
         << QVariantMap{{QStringLiteral("handle_token"), token}};
    request(Step::binding, QStringLiteral("BindShortcuts"), call, token);
}

void PortalGlobalShortcuts::request(Step step, const QString& method, QDBusMessage call, const QString& token)
{
    const QDBusConnection& bus = m_bus.get();
    m_step = step;
    m_method = method;
    const QString expected = requestPath(bus, token);
    listenTo(expected);
    m_answerTimer.start();
    const QPointer<PortalGlobalShortcuts> self(this);
    // A reply that comes after the request was given up changes nothing.
    const auto stillWaiting = [self, expected] { return self && self->m_requestPaths.contains(expected); };
    DBusAsync::call(
        bus, call, answerTimeout,
        [self, stillWaiting, expected](const QDBusMessage& reply) {
            const QString handle = handleText(reply.arguments().value(0));
            // Portals older than the request paths' convention answer on a path of their own choosing.
            if (stillWaiting() && !handle.isEmpty() && handle != expected)
                self->listenTo(handle);
        },
        [self, stillWaiting, method](const QDBusMessage& error) {
            if (stillWaiting())
                self->turnOff(QStringLiteral("the desktop portal refused %1: %2 %3")
                                  .arg(method, error.errorName(), error.errorMessage()));
        });
}

void PortalGlobalShortcuts::listenTo(const QString& requestPath)
{
    QDBusConnection(m_bus.get())
        .connect(portalService, requestPath, requestInterface, QStringLiteral("Response"), this,
                 SLOT(handleResponse(QDBusMessage)));
    m_requestPaths.append(requestPath);
}

void PortalGlobalShortcuts::stopListening()
{
    m_answerTimer.stop();
    for (const QString& path : std::as_const(m_requestPaths))
        QDBusConnection(m_bus.get())
            .disconnect(portalService, path, requestInterface, QStringLiteral("Response"), this,
                        SLOT(handleResponse(QDBusMessage)));
    m_requestPaths.clear();
}

void PortalGlobalShortcuts::answerTimedOut()
{
    if (m_step == Step::creatingSession || m_step == Step::binding)
        turnOff(QStringLiteral("the desktop portal did not answer %1 within %2 s")
                    .arg(m_method)
                    .arg(answerTimeout.count()));
}

void PortalGlobalShortcuts::handleResponse(const QDBusMessage& message)
{
    if (!m_requestPaths.contains(message.path()))
        return;
    stopListening();
    const QVariantList arguments = message.arguments();
    bool isNumber = false;
    const unsigned code = arguments.value(0).toUInt(&isNumber);
    if (!isNumber || arguments.size() < 2) {
        turnOff(QStringLiteral("the desktop portal answered %1 with something unreadable").arg(m_method));
        return;
    }
    if (code != 0) {
        turnOff(QStringLiteral("the desktop portal refused %1 (%2)")
                    .arg(m_method, code == 1 ? QStringLiteral("the user cancelled") : QString::number(code)));
        return;
    }
    const auto results = qdbus_cast<QVariantMap>(arguments.at(1));
    if (m_step == Step::creatingSession)
        takeSession(results);
    else
        takeBound(results);
}

void PortalGlobalShortcuts::takeSession(const QVariantMap& results)
{
    m_session = handleText(results.value(QStringLiteral("session_handle")));
    if (m_session.isEmpty()) {
        turnOff(QStringLiteral("the desktop portal made no session"));
        return;
    }
    if (results.contains(QStringLiteral("shortcuts")))
        takeBound(results);
    else
        bind();
}

void PortalGlobalShortcuts::takeBound(const QVariantMap& results)
{
    m_step = Step::bound;
    const std::optional<PortalShortcuts> bound = shortcutsIn(results.value(QStringLiteral("shortcuts")));
    if (!bound)
        qCWarning(lcPlatform) << "Marquetto: the desktop portal said nothing readable of the keys it bound";
    setTriggers(bound.value_or(PortalShortcuts{}), Update::all);
    if (m_bindAgain)
        bind();
}

void PortalGlobalShortcuts::setTriggers(const PortalShortcuts& bound, Update update)
{
    std::map<std::uint32_t, QString> triggers = m_triggers;
    if (update == Update::all) {
        for (auto& entry : triggers)
            entry.second.clear();
    }
    for (const PortalShortcut& shortcut : bound) {
        if (const std::optional<std::uint32_t> id = idOf(shortcut.id))
            triggers[*id] = shortcut.properties.value(QStringLiteral("trigger_description")).toString();
    }
    QStringList unbound;
    for (const auto& [id, trigger] : triggers) {
        if (trigger.isEmpty())
            unbound.append(m_keys.at(id).name.description);
    }
    if (unbound.isEmpty())
        qCInfo(lcPlatform) << "Marquetto: the desktop bound all" << triggers.size() << "global keys";
    else
        qCWarning(lcPlatform).noquote() << "Marquetto: the desktop bound no keys to:" << unbound.join(u", ");
    if (triggers != m_triggers) {
        m_triggers = std::move(triggers);
        Q_EMIT triggersChanged();
    }
}

void PortalGlobalShortcuts::handleActivated(const QDBusMessage& message)
{
    const QVariantList arguments = message.arguments();
    if (!isOurs(arguments.value(0)))
        return;
    const QString shortcutId = arguments.value(1).toString();
    if (const std::optional<std::uint32_t> id = idOf(shortcutId))
        Q_EMIT pressed(*id);
    else
        qCWarning(lcPlatform) << "Marquetto: the desktop portal pressed a key we never bound:" << shortcutId;
}

void PortalGlobalShortcuts::handleShortcutsChanged(const QDBusMessage& message)
{
    const QVariantList arguments = message.arguments();
    if (!isOurs(arguments.value(0)))
        return;
    if (const std::optional<PortalShortcuts> bound = shortcutsIn(arguments.value(1)))
        setTriggers(*bound, Update::listed);
    else
        qCWarning(lcPlatform) << "Marquetto: the desktop portal changed the global keys unreadably";
}

bool PortalGlobalShortcuts::isOurs(const QVariant& sessionHandle) const
{
    return !m_session.isEmpty() && handleText(sessionHandle) == m_session;
}

std::optional<std::uint32_t> PortalGlobalShortcuts::idOf(const QString& shortcutId) const
{
    for (const auto& [id, key] : m_keys) {
        if (key.name.id == shortcutId)
            return id;
    }
    return std::nullopt;
}

void PortalGlobalShortcuts::turnOff(const QString& why)
{
    if (m_step == Step::off)
        return;
    stopListening();
    m_step = Step::off;
    m_session.clear();
    qCWarning(lcPlatform).noquote() << "Marquetto: global keys are off:" << why;
    std::map<std::uint32_t, QString> unbound;
    for (const auto& entry : m_triggers)
        unbound[entry.first];
    if (unbound != m_triggers) {
        m_triggers = std::move(unbound);
        Q_EMIT triggersChanged();
    }
}
