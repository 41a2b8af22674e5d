#pragma once

#include <QTimer>
#include <chrono>
#include <functional>

// Work done at once when started and again at every interval until stopped: the rhythm of everything that
// reads the system only while the band shows it. Starting a running poller does nothing, so a second
// start never polls twice.
//
// Main thread only.
class Poller final {
public:
    Poller(std::chrono::milliseconds interval, std::function<void()> poll);
    Poller(const Poller&) = delete;
    Poller& operator=(const Poller&) = delete;

    void start();
    void stop() { m_timer.stop(); }
    [[nodiscard]] bool isRunning() const { return m_timer.isActive(); }

private:
    QTimer m_timer;
    std::function<void()> m_poll;
};
