#include "PendingCalls.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <atomic>

namespace {

std::atomic<int> outstanding{0};

} // namespace

void PendingCalls::started()
{
    ++outstanding;
}

void PendingCalls::finished()
{
    --outstanding;
}

PendingCalls::Hold PendingCalls::hold()
{
    started();
    return Hold(nullptr, [](const void*) { finished(); });
}

void PendingCalls::waitForAll(std::chrono::milliseconds limit)
{
    const QDeadlineTimer deadline(limit);
    while (outstanding.load() > 0 && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(5);
    }
}
