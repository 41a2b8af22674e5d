#include "SceneQueue.h"

#include "core/MainThread.h"

#include <QCoreApplication>
#include <QThread>
#include <QThreadPool>

namespace {

QThreadPool& sceneThread()
{
    // Never destroyed: a pool's destructor waits for its jobs.
    static QThreadPool* const pool = [] {
        auto* created = new QThreadPool;
        created->setObjectName(QStringLiteral("app.marquetto.scene"));
        created->setMaxThreadCount(1);
        return created;
    }();
    return *pool;
}

} // namespace

void ThreadSceneQueue::submit(std::function<void()> job)
{
    sceneThread().start(std::move(job));
}

void ThreadSceneQueue::runOnMainThread(std::function<void()> step)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(step), Qt::BlockingQueuedConnection);
}

void ThreadSceneQueue::pause(std::chrono::milliseconds duration)
{
    QThread::msleep(static_cast<unsigned long>(duration.count()));
}

void ThreadSceneQueue::postToMainThread(std::function<void()> done)
{
    MainThread::post(std::move(done));
}
