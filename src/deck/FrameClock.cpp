#include "deck/FrameClock.h"

void FrameClock::retain()
{
    if (++m_running == 1)
        setTicking(true);
}

void FrameClock::release()
{
    if (m_running == 0)
        return;
    if (--m_running == 0)
        setTicking(false);
}
