#include "BackgroundQueue.h"

#include "core/ThreadHandOff.h"

#include <QThreadPool>

namespace {

QThreadPool& userInitiatedPool()
{
    // Deliberately never destroyed: a pool's destructor waits for its jobs, and quitting must not wait
    // for a program that hangs.
    static QThreadPool* const pool = [] {
        auto* created = new QThreadPool;
        created->setMaxThreadCount(qMax(4, QThread::idealThreadCount()));
        return created;
    }();
    return *pool;
}

} // namespace

void BackgroundQueue::run(std::function<void()> job)
{
    userInitiatedPool().start(ThreadHandOff::handedOver(std::move(job)));
}

void BackgroundQueue::waitForDone()
{
    userInitiatedPool().waitForDone();
    ThreadHandOff::waitedFor();
}
