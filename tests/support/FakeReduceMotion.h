#pragma once

#include "platform/ReduceMotion.h"

// The desktop's reduce-motion setting as the test sets it.
class FakeReduceMotion final : public ReduceMotion {
public:
    [[nodiscard]] bool isOn() const override { return m_on; }

    void set(bool on)
    {
        if (on == m_on)
            return;
        m_on = on;
        Q_EMIT changed(on);
    }

private:
    bool m_on = false;
};
