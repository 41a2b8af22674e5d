#include "platform/linux/music/MprisPlayers.h"

#include "core/Logging.h"
#include "platform/linux/dbus/DBusAsync.h"
#include "platform/linux/music/MprisProtocol.h"

#include <QPointer>
#include <algorithm>
#include <utility>

namespace {

bool isPlayerName(const QString& name)
{
    return name.startsWith(MprisProtocol::kServicePrefix);
}

} // namespace

MprisPlayers::MprisPlayers(LazyDBusConnection bus, std::chrono::milliseconds timeout, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_timeout(timeout)
{
}

const QDBusConnection& MprisPlayers::bus()
{
    follow();
    return m_bus.get();
}

std::optional<QString> MprisPlayers::current()
{
    const QStringList players = ranked();
    // A player slow to answer at first would otherwise never count as playing: its signals name a sender
    // only its answer tells us.
    for (const Player& player : m_players) {
        if (!player.statusKnown)
            askStatus(player.name);
    }
    if (players.isEmpty())
        return std::nullopt;
    return players.front();
}

void MprisPlayers::withCurrent(CurrentHandler use)
{
    follow();
    if (m_listed)
        use(current());
    else
        m_waiting.push_back(std::move(use));
}

QStringList MprisPlayers::ranked()
{
    follow();
    std::vector<const Player*> order;
    for (const Player& player : m_players)
        order.push_back(&player);
    // A player that ever started playing beats one that only appeared; among equals the later one wins.
    std::sort(order.begin(), order.end(), [](const Player* a, const Player* b) {
        return std::pair(a->startedPlaying, a->appeared) > std::pair(b->startedPlaying, b->appeared);
    });
    QStringList names;
    for (const Player* player : order)
        names << player->name;
    return names;
}

void MprisPlayers::withRanked(RankedHandler use)
{
    withCurrent([this, use = std::move(use)](const std::optional<QString>&) { use(ranked()); });
}

void MprisPlayers::follow()
{
    if (m_following)
        return;
    m_following = true;
    QDBusConnection bus = m_bus.get();
    if (!bus.isConnected()) {
        qCWarning(lcPlatform).noquote()
            << "Marquetto: no session bus to find media players on:" << bus.lastError().message();
        m_listed = true;
        return;
    }
    // Following first and listing second: a player that comes meanwhile is heard of twice, never missed. The
    // service watcher of this Qt cannot watch a family of names; the bus's own signal can, filtered here.
    const QString busService = QStringLiteral("org.freedesktop.DBus");
    bus.connect(busService, QStringLiteral("/org/freedesktop/DBus"), busService,
                QStringLiteral("NameOwnerChanged"), this,
                SLOT(onNameOwnerChanged(QString, QString, QString)));
    bus.connect(QString(), MprisProtocol::objectPath(), MprisProtocol::propertiesInterface(),
                QStringLiteral("PropertiesChanged"), this, SLOT(onPropertiesChanged(QDBusMessage)));
    listPlayers();
}

void MprisPlayers::listPlayers()
{
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListNames"));
    DBusAsync::call(
        m_bus.get(), call, m_timeout,
        [self = QPointer(this)](const QDBusMessage& reply) {
            if (!self)
                return;
            const QStringList names = reply.arguments().value(0).toStringList();
            for (const QString& name : names) {
                if (isPlayerName(name))
                    self->appeared(name, {});
            }
            self->listed();
        },
        [self = QPointer(this), call](const QDBusMessage& error) {
            DBusAsync::logFailure(call, error);
            if (self)
                self->listed();
        });
}

void MprisPlayers::listed()
{
    m_listed = true;
    const std::vector<CurrentHandler> waiting = std::exchange(m_waiting, {});
    for (const CurrentHandler& use : waiting)
        use(current());
}

void MprisPlayers::onNameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner)
{
    if (!isPlayerName(name))
        return;
    if (!oldOwner.isEmpty())
        std::erase_if(m_players, [&name](const Player& player) { return player.name == name; });
    if (!newOwner.isEmpty())
        appeared(name, newOwner);
}

void MprisPlayers::appeared(const QString& name, const QString& owner)
{
    Player* known = find(name);
    if (!known) {
        m_players.push_back({name, owner, ++m_events});
    } else if (known->owner.isEmpty()) {
        known->owner = owner;
    }
    askStatus(name);
}

void MprisPlayers::askStatus(const QString& name)
{
    Player* asked = find(name);
    if (!asked || std::exchange(asked->asking, true))
        return;
    const QDBusMessage call =
        MprisProtocol::call(name, MprisProtocol::propertiesInterface(), QStringLiteral("Get"),
                            {MprisProtocol::playerInterface(), QStringLiteral("PlaybackStatus")});
    DBusAsync::call(
        m_bus.get(), call, m_timeout,
        [self = QPointer(this), name](const QDBusMessage& reply) {
            Player* player = self ? self->find(name) : nullptr;
            if (!player)
                return;
            player->asking = false;
            // The reply comes from the unique name behind the player's: its signals carry that.
            player->owner = reply.service();
            const QVariant status = MprisProtocol::unwrap(reply.arguments().value(0));
            if (status.typeId() == QMetaType::QString)
                self->statusIs(player->owner, status.toString());
        },
        [self = QPointer(this), name, call](const QDBusMessage& error) {
            Player* player = self ? self->find(name) : nullptr;
            if (!player)
                return;
            player->asking = false;
            // Asked again with every question: one line for a player that keeps not answering.
            if (!std::exchange(player->failureLogged, true))
                DBusAsync::logFailure(call, error);
        });
}

void MprisPlayers::onPropertiesChanged(const QDBusMessage& message)
{
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2 || arguments[0].toString() != MprisProtocol::playerInterface())
        return;
    const std::optional<QVariantMap> changed = MprisProtocol::dictionary(arguments[1]);
    if (!changed)
        return;
    const QVariant status = changed->value(QStringLiteral("PlaybackStatus"));
    if (status.typeId() == QMetaType::QString)
        statusIs(message.service(), status.toString());
}

void MprisPlayers::statusIs(const QString& owner, const QString& status)
{
    const bool playing = status == u"Playing";
    for (Player& player : m_players) {
        if (player.owner != owner || owner.isEmpty())
            continue;
        if (playing && !player.playing)
            player.startedPlaying = ++m_events;
        player.playing = playing;
        player.statusKnown = true;
    }
}

MprisPlayers::Player* MprisPlayers::find(const QString& name)
{
    const auto found = std::find_if(m_players.begin(), m_players.end(),
                                    [&name](const Player& player) { return player.name == name; });
    return found == m_players.end() ? nullptr : &*found;
}
