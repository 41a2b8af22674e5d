#pragma once

#include "actions/SceneQueue.h"

#include <QStringList>
#include <vector>

// Runs scenes on the test's thread. Jobs wait until `runPending()` while `holdJobs` is set, so a test can
// press again while a scene is in flight. Pauses are recorded in `timeline` instead of slept.
class FakeSceneQueue final : public SceneQueue {
public:
    bool holdJobs = false;
    QStringList* timeline = nullptr; // shared with the other fakes, when the test wants one record

    void submit(std::function<void()> job) override
    {
        if (holdJobs)
            m_pending.push_back(std::move(job));
        else
            job();
    }
    void runPending()
    {
        auto jobs = std::move(m_pending);
        m_pending.clear();
        for (auto& job : jobs)
            job();
    }
    void runOnMainThread(std::function<void()> step) override { step(); }
    void pause(std::chrono::milliseconds duration) override
    {
        if (timeline)
            *timeline << QStringLiteral("pause %1").arg(duration.count());
    }
    void postToMainThread(std::function<void()> done) override { done(); }

private:
    std::vector<std::function<void()>> m_pending;
};
