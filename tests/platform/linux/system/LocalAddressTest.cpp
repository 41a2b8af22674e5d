#include "platform/linux/system/LocalAddress.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using Entry = LocalAddress::Entry;

Entry up(const char* name, const char* ipv4 = nullptr)
{
    return {QString::fromLatin1(name), true, false,
            ipv4 ? std::optional(QString::fromLatin1(ipv4)) : std::nullopt};
}

TEST(LocalAddressTest, TheFirstWiredOrWirelessInterfaceWithAnAddressWins)
{
    Entry down = up("enp3s0", "10.0.0.9");
    down.up = false;
    Entry loopback = up("lo", "127.0.0.1");
    loopback.loopback = true;
    const struct {
        std::vector<Entry> entries;
        std::optional<QString> expected;
    } cases[] = {
        {{loopback, up("docker0", "172.17.0.1"), up("veth12ab", "172.17.0.2"), up("virbr0", "192.168.122.1"),
          up("br-5f2a", "172.18.0.1"), up("enp3s0"), up("wlp2s0", "192.168.1.23"), up("eth0", "10.0.0.2")},
         QStringLiteral("192.168.1.23")},
        {{down, up("eth1", "10.1.0.5")}, QStringLiteral("10.1.0.5")},
        {{loopback, up("tun0", "10.8.0.1")}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LocalAddress::choose(c.entries), c.expected);
}

} // namespace
