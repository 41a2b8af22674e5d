#pragma once

#include "platform/linux/music/MprisProtocol.h"

#include <QDBusConnection>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <vector>

// The playlists of every media player that offers them (the playlists interface), gathered into one answer:
// the player that plays is rarely the one that keeps the user's playlists.
namespace MprisPlaylists {

struct Found {
    QString player; // the bus name of the player that has the playlist
    MprisProtocol::Playlist playlist;
};
using Handler = std::function<void(std::vector<Found>)>;

// Asks all `players` at once and answers, on the main thread, once each has answered or given up after
// `timeout`: their playlists, player by player in the order given, each player's in its own order. A player
// without the interface adds none; one that fails or answers nonsense adds none and is logged.
void gather(const QDBusConnection& bus, const QStringList& players, std::chrono::milliseconds timeout,
            Handler handler);

} // namespace MprisPlaylists
