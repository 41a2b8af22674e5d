#pragma once

// The short "Pop" a tile makes when it is clicked.
class ClickSound {
public:
    virtual ~ClickSound() = default;
    // Starts the sound at `volume` (0 to 1) and returns at once; silently nothing without a sound server.
    virtual void play(double volume) = 0;
};

class NullClickSound final : public ClickSound {
public:
    void play(double) override {}
};
