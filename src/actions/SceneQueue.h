#pragma once

#include <chrono>
#include <functional>

// Where the steps of a scene are sequenced: one serial queue, off the main thread.
class SceneQueue {
public:
    virtual ~SceneQueue() = default;

    // Queues the job behind any scene still on the queue. Called on the main thread.
    virtual void submit(std::function<void()> job) = 0;

    // Called on the scene queue: runs the step on the main thread and returns when it has returned.
    virtual void runOnMainThread(std::function<void()> step) = 0;

    // Called on the scene queue: holds the queue for the time between steps.
    virtual void pause(std::chrono::milliseconds duration) = 0;

    // Called on the scene queue: runs `done` on the main thread later, without waiting for it.
    virtual void postToMainThread(std::function<void()> done) = 0;
};

// The queue of the running program: a thread of its own that is never waited for when the program quits,
// so a scene stuck on a script that never ends does not hold up quitting either.
class ThreadSceneQueue final : public SceneQueue {
public:
    void submit(std::function<void()> job) override;
    void runOnMainThread(std::function<void()> step) override;
    void pause(std::chrono::milliseconds duration) override;
    void postToMainThread(std::function<void()> done) override;
};
