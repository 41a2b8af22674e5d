#include "platform/linux/system/LocalAddress.h"

#include "core/Logging.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

std::optional<QString> LocalAddress::choose(const std::vector<Entry>& entries)
{
    for (const Entry& entry : entries) {
        const bool physical =
            entry.name.startsWith(u"en") || entry.name.startsWith(u"eth") || entry.name.startsWith(u"wl");
        if (entry.up && !entry.loopback && entry.ipv4 && physical)
            return entry.ipv4;
    }
    return std::nullopt;
}

std::vector<LocalAddress::Entry> LocalAddress::entries()
{
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) {
        qCWarning(lcPlatform).noquote()
            << "Marquetto: can't list the network interfaces:" << std::strerror(errno);
        return {};
    }
    std::vector<Entry> result;
    for (const ifaddrs* item = list; item; item = item->ifa_next) {
        Entry entry{QString::fromLocal8Bit(item->ifa_name), (item->ifa_flags & IFF_UP) != 0,
                    (item->ifa_flags & IFF_LOOPBACK) != 0, std::nullopt};
        if (item->ifa_addr && item->ifa_addr->sa_family == AF_INET) {
            char text[INET_ADDRSTRLEN] = {};
            const auto* address = reinterpret_cast<const sockaddr_in*>(item->ifa_addr);
            if (::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text))
                entry.ipv4 = QString::fromLatin1(text);
        }
        result.push_back(std::move(entry));
    }
    ::freeifaddrs(list);
    return result;
}
