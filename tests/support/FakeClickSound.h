#pragma once

#include "platform/ClickSound.h"

#include <vector>

// Keeps the volume of every click played.
class FakeClickSound final : public ClickSound {
public:
    std::vector<double> played;
    void play(double volume) override { played.push_back(volume); }
};
