#pragma once

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <utility>

// Work handed to the main thread's event loop, in one way: from a background thread (`post`), or from the
// main thread itself for after the caller has returned (`later`, `answerLater`).
namespace MainThread {

// Runs `work(*target)` on the main thread, unless `target` is gone by then. Callable from any thread: the
// guard is only looked at on the main thread, where `target` lives and dies.
template <typename Target, typename Work>
void post(QPointer<Target> target, Work work)
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [target = std::move(target), work = std::move(work)]() mutable {
            if (target)
                work(*target);
        },
        Qt::QueuedConnection);
}

// Runs `work()` on the main thread; for work that needs no object of its own there.
template <typename Work>
void post(Work work)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

// Runs `work()` from the event loop once the caller has returned, unless `context` is gone by then.
template <typename Work>
void later(QObject* context, Work work)
{
    QMetaObject::invokeMethod(context, std::move(work), Qt::QueuedConnection);
}

// Hands `answer` to `done` so: an answer must never arrive inside the call that asked for it, even when it
// is known at once.
template <typename Done, typename Answer>
void answerLater(QObject* context, Done done, Answer answer)
{
    later(context, [done = std::move(done), answer = std::move(answer)] { done(answer); });
}

} // namespace MainThread
