#pragma once

#include "core/MainThread.h"

#include <QObject>
#include <QPointer>
#include <functional>

// Work that may block (external programs, sound server and Bluetooth calls) runs here, one job per call,
// several at a time, never on the main thread. The queue is never waited for when the process ends: a job
// stuck on a program that never finishes does not hold up quitting.
namespace BackgroundQueue {

void run(std::function<void()> job);

// A job that runs `work` and hands its result to `done` on the main thread, unless `context` is gone by
// then; for this queue or another. Make it on the main thread, where `context` lives.
template <typename Result>
std::function<void()> reporting(QObject* context, std::function<Result()> work,
                                std::function<void(Result)> done)
{
    return [guard = QPointer(context), work = std::move(work), done = std::move(done)] {
        MainThread::post(guard, [done, result = work()](QObject&) { done(result); });
    };
}

// Runs `work` here and hands its result to `done` on the main thread, unless `context` is gone by then.
// Call it from the main thread, where `context` lives.
template <typename Result>
void runThenReport(QObject* context, std::function<Result()> work, std::function<void(Result)> done)
{
    run(reporting(context, std::move(work), std::move(done)));
}

// Waits until every job handed over so far has finished: for a short-lived program that must not exit
// before its work is done.
void waitForDone();

} // namespace BackgroundQueue
