#pragma once

#include "deck/FrameClock.h"

// A frame clock that stands still until the test steps it; each step delivers one frame while an animation
// runs.
class SteppedFrameClock final : public FrameClock {
public:
    [[nodiscard]] double now() const override { return m_now; }

    void step(double seconds)
    {
        m_now += seconds;
        if (isTicking())
            Q_EMIT frame();
    }

protected:
    void setTicking(bool) override {}

private:
    double m_now = 0;
};
