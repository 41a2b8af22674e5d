#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <functional>
#include <utility>

// Work that may block (external programs, sound server and Bluetooth calls) runs here, one job per call,
// several at a time, never on the main thread. The queue is never waited for when the process ends: a job
// stuck on a program that never finishes does not hold up quitting.
namespace BackgroundQueue {

void run(std::function<void()> job);

// Runs `work` here and hands what it returns to `done` on the main thread, unless `context` (a main-thread
// object) is gone by then.
template <typename Work, typename Done>
void runThen(QObject* context, Work work, Done done)
{
    run([guard = QPointer(context), work = std::move(work), done = std::move(done)] {
        auto result = work();
        // The guard is only looked at on the main thread, where the context lives and dies.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [guard, done, result = std::move(result)] {
                if (guard)
                    done(result);
            },
            Qt::QueuedConnection);
    });
}

// Waits until every job handed over so far has finished: for a short-lived program that must not exit
// before its work is done.
void waitForDone();

} // namespace BackgroundQueue
