#include "core/Poller.h"

Poller::Poller(std::chrono::milliseconds interval, std::function<void()> poll)
    : m_poll(std::move(poll))
{
    m_timer.setInterval(interval);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { m_poll(); });
}

void Poller::start()
{
    if (isRunning())
        return;
    m_poll();
    m_timer.start();
}
