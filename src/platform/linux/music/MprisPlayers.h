#pragma once

#include "platform/linux/dbus/LazyDBusConnection.h"

#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <optional>
#include <vector>

// The media players (MPRIS, "org.mpris.MediaPlayer2.*") on the session bus, followed from their names'
// comings and goings and their playback status. Nothing touches the bus until the first question; from
// then on the list fills in asynchronously, so the very first answers may still be empty. Main thread only.
class MprisPlayers final : public QObject {
    Q_OBJECT
public:
    // Every question to a player gives up after `timeout`.
    MprisPlayers(LazyDBusConnection bus, std::chrono::milliseconds timeout, QObject* parent = nullptr);

    // The bus the players are on; connects and starts following them on the first call.
    [[nodiscard]] const QDBusConnection& bus();
    // The bus name of the player to talk to: the last whose status became "Playing", else the last to
    // appear; nothing while no player is known. Players that have not told their status yet are asked
    // again.
    [[nodiscard]] std::optional<QString> current();
    // The same, once the players that were there when following began are known: at once from then on,
    // else as soon as the bus has listed them (or failed to). Never called once this object is gone.
    using CurrentHandler = std::function<void(const std::optional<QString>& player)>;
    void withCurrent(CurrentHandler use);
    // The bus names of every known player, the one `current` names first, the others after it in the same
    // order of preference.
    [[nodiscard]] QStringList ranked();
    // The same, as soon as `withCurrent` would answer.
    using RankedHandler = std::function<void(const QStringList& players)>;
    void withRanked(RankedHandler use);

private Q_SLOTS:
    void onNameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);
    void onPropertiesChanged(const QDBusMessage& message);

private:
    struct Player {
        QString name;
        QString owner; // the unique name behind `name`; empty until known
        quint64 appeared = 0;
        quint64 startedPlaying = 0; // 0: never seen playing
        bool playing = false;
        bool statusKnown = false; // from an answer or a signal
        bool asking = false;
        bool failureLogged = false;
    };

    void follow();
    void listPlayers();
    void listed();
    void appeared(const QString& name, const QString& owner);
    void askStatus(const QString& name);
    void statusIs(const QString& owner, const QString& status);
    Player* find(const QString& name);

    LazyDBusConnection m_bus;
    std::chrono::milliseconds m_timeout;
    bool m_following = false;
    bool m_listed = false;
    std::vector<CurrentHandler> m_waiting; // for the first list of players
    std::vector<Player> m_players;
    quint64 m_events = 0; // orders appearances and starts of playing
};
