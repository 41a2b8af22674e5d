#include "FuzzCheck.h"
#include "FuzzVariantMap.h"
#include "platform/linux/music/MprisProtocol.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietQtMessages();
    return 0;
}

// A media player's properties as QtDBus hands them over, read as the now-playing tile and the artwork
// lookup read them.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzReader in(data, size);
    const QVariantMap properties = FuzzVariantMap::map(
        in, {"PlaybackStatus", "Metadata", "xesam:title", "xesam:artist", "mpris:trackid", "mpris:artUrl"});
    static_cast<void>(MprisProtocol::nowPlaying(properties));
    if (const std::optional<QVariantMap> metadata =
            MprisProtocol::dictionary(properties.value(QStringLiteral("Metadata"))))
        static_cast<void>(metadata->value(QStringLiteral("mpris:artUrl")).toString());
    static_cast<void>(MprisProtocol::unwrap(properties.value(QStringLiteral("PlaybackStatus"))));
    return 0;
}
