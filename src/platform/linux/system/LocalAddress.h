#pragma once

#include <QString>
#include <optional>
#include <vector>

// The machine's own address on the local network: the IPv4 address of its first wired or wireless interface.
namespace LocalAddress {

// One address entry of the kernel's interface list.
struct Entry {
    QString name;
    bool up = false;
    bool loopback = false;
    std::optional<QString> ipv4; // dotted; nothing for other address families
};

// The address of the first entry, in list order, that is up, not loopback, has an IPv4 address and is named
// like a wired ("en…", "eth…") or wireless ("wl…") interface, which leaves out containers' and virtual
// machines' bridges ("docker…", "veth…", "virbr…", "br-…").
[[nodiscard]] std::optional<QString> choose(const std::vector<Entry>& entries);

// The kernel's interface list; empty when it cannot be read. Any thread.
[[nodiscard]] std::vector<Entry> entries();

} // namespace LocalAddress
