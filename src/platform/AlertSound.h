#pragma once

// The desktop's alert sound, played when the focus timer's period ends.
class AlertSound {
public:
    virtual ~AlertSound() = default;
    // Starts the sound once and returns at once; silently nothing where the desktop cannot play it.
    virtual void play() = 0;
};

class NullAlertSound final : public AlertSound {
public:
    void play() override {}
};
