#pragma once

#include "platform/InstalledApplications.h"

#include <atomic>

// A desktop whose installed applications are the ones a test lists; counts how often they were asked for.
class FakeInstalledApplications final : public InstalledApplications {
public:
    std::vector<Entry> listed;
    mutable std::atomic_int listings = 0;

    [[nodiscard]] std::vector<Entry> entries() const override
    {
        ++listings;
        return listed;
    }
};
