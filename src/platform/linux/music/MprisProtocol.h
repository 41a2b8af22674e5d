#pragma once

#include "platform/MusicBridge.h"

#include <QDBusMessage>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <optional>
#include <vector>

// The names of the media player interface (MPRIS 2) and the reading of what players answer. Players are
// other people's programs: every reader checks the types it is given and answers nothing when they are not
// the protocol's.
namespace MprisProtocol {

inline constexpr QStringView kServicePrefix = u"org.mpris.MediaPlayer2.";

QString objectPath();
QString playerInterface();
QString playlistsInterface();
QString propertiesInterface();

// A call to `member` of `interface` on the player object of the player at `service`.
[[nodiscard]] QDBusMessage call(const QString& service, const QString& interface, const QString& member,
                                const QVariantList& arguments = {});

// A dictionary of strings to variants ("a{sv}"), as a reply argument, a property value or a value in
// another dictionary holds it.
[[nodiscard]] std::optional<QVariantMap> dictionary(const QVariant& value);
// The value of a variant ("v") reply argument.
[[nodiscard]] QVariant unwrap(const QVariant& value);

// What plays, from the player interface's properties: nothing unless "PlaybackStatus" is a text and
// "Metadata", when there, a dictionary.
[[nodiscard]] std::optional<NowPlayingInfo> nowPlaying(const QVariantMap& playerProperties);

struct Playlist {
    QString id; // an object path
    QString name;
    QString icon; // a URL, often empty
};
// The playlists of a GetPlaylists reply ("a(oss)"); nothing when the reply has another form.
[[nodiscard]] std::optional<std::vector<Playlist>> playlists(const QDBusMessage& reply);

} // namespace MprisProtocol
