#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <chrono>
#include <functional>

// Polls, letting Qt deliver what arrived, until `condition` holds or `timeout` has passed. The timeout is
// generous because desktop programs on a loaded two-core machine answer in seconds; a passing check waits
// only as long as its condition takes.
inline bool eventually(const std::function<bool()>& condition,
                       std::chrono::milliseconds timeout = std::chrono::seconds(15))
{
    const QDeadlineTimer deadline(timeout);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    return true;
}
