#include "platform/linux/music/MprisPlaylists.h"

#include "core/Logging.h"
#include "platform/linux/dbus/DBusAsync.h"

#include <memory>

namespace {

// Players without playlists answer GetPlaylists with one of these; that is an answer, not a failure.
bool meansNoPlaylists(const QDBusMessage& error)
{
    const QString name = error.errorName();
    return name == u"org.freedesktop.DBus.Error.UnknownMethod" ||
           name == u"org.freedesktop.DBus.Error.UnknownInterface" ||
           name == u"org.freedesktop.DBus.Error.UnknownObject";
}

struct Gathering {
    std::vector<std::vector<MprisPlaylists::Found>> byPlayer;
    std::size_t unanswered = 0;
    MprisPlaylists::Handler handler;

    void answered(std::size_t index, std::vector<MprisPlaylists::Found> found)
    {
        byPlayer[index] = std::move(found);
        if (--unanswered > 0)
            return;
        std::vector<MprisPlaylists::Found> all;
        for (std::vector<MprisPlaylists::Found>& playerFound : byPlayer)
            std::move(playerFound.begin(), playerFound.end(), std::back_inserter(all));
        handler(std::move(all));
    }
};

} // namespace

void MprisPlaylists::gather(const QDBusConnection& bus, const QStringList& players,
                            std::chrono::milliseconds timeout, Handler handler)
{
    if (players.isEmpty()) {
        handler({});
        return;
    }
    auto gathering = std::make_shared<Gathering>();
    gathering->byPlayer.resize(players.size());
    gathering->unanswered = players.size();
    gathering->handler = std::move(handler);
    for (std::size_t index = 0; index < gathering->byPlayer.size(); ++index) {
        const QString& player = players[static_cast<qsizetype>(index)];
        const QDBusMessage call = MprisProtocol::call(
            player, MprisProtocol::playlistsInterface(), QStringLiteral("GetPlaylists"),
            {QVariant::fromValue(0u), QVariant::fromValue(1000u), QStringLiteral("UserDefined"), false});
        DBusAsync::call(
            bus, call, timeout,
            [gathering, index, player](const QDBusMessage& reply) {
                const std::optional<std::vector<MprisProtocol::Playlist>> playlists =
                    MprisProtocol::playlists(reply);
                if (!playlists)
                    qCWarning(lcPlatform).noquote()
                        << "Marquetto: unexpected playlist list from" << player << ":" << reply.signature();
                std::vector<Found> found;
                for (const MprisProtocol::Playlist& playlist :
                     playlists.value_or(std::vector<MprisProtocol::Playlist>()))
                    found.push_back({player, playlist});
                gathering->answered(index, std::move(found));
            },
            [gathering, index, call](const QDBusMessage& error) {
                if (!meansNoPlaylists(error))
                    DBusAsync::logFailure(call, error);
                gathering->answered(index, {});
            });
    }
}
