#pragma once

#include "core/BackgroundQueue.h"

#include <QThreadPool>
#include <functional>

// A background queue that runs its jobs one after another, in the order given: for file work whose steps
// must not overlap. Each queue has a thread of its own, started for its first job.
//
// Hand jobs over from the main thread. The destructor waits for the jobs already handed over.
class SerialQueue final {
public:
    SerialQueue();
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    void run(std::function<void()> job);

    // Runs `work` here and hands its result to `done` on the main thread, unless `context` is gone by then.
    template <typename Result>
    void runThenReport(QObject* context, std::function<Result()> work, std::function<void(Result)> done)
    {
        run(BackgroundQueue::reporting(context, std::move(work), std::move(done)));
    }

    // Waits until every job handed over so far has finished; their reports may still be on their way.
    void waitForDone();

private:
    QThreadPool m_pool;
};
