#pragma once

#include "platform/HotKeys.h"

#include <set>
#include <vector>

// Records every key grabbed; keys whose id is in `refused` are held by another program. Says it works
// through `inUse`, with the keys in `bound`.
class FakeGlobalHotKeys final : public GlobalHotKeys {
public:
    struct Registration {
        std::uint32_t keyCode = 0;
        std::uint32_t modifiers = 0;
        std::uint32_t id = 0;
        QString name;
        QString description;
        bool operator==(const Registration&) const = default;
    };

    std::vector<Registration> registrations;
    std::set<std::uint32_t> refused;
    HotKeyMechanism inUse = HotKeyMechanism::x11;
    std::map<std::uint32_t, QString> bound;

    bool registerKey(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t id,
                     const HotKeyName& name) override
    {
        registrations.push_back({keyCode, modifiers, id, name.id, name.description});
        return !refused.contains(id);
    }
    [[nodiscard]] HotKeyMechanism mechanism() const override { return inUse; }
    [[nodiscard]] std::map<std::uint32_t, QString> triggers() const override { return bound; }

    void press(std::uint32_t id) { Q_EMIT pressed(id); }
};
