#pragma once

#include "platform/AlertSound.h"

// Counts the alerts played.
class FakeAlertSound final : public AlertSound {
public:
    int played = 0;
    void play() override { ++played; }
};
