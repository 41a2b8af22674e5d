#pragma once

#include <chrono>
#include <functional>
#include <thread>

typedef struct _GMainContext GMainContext;
typedef struct _GMainLoop GMainLoop;

// A thread running a GLib main loop on a context of its own, where GLib objects live and their signals
// arrive whatever event dispatcher Qt uses. Work is handed over with `post`; the thread ends after the work
// posted before its owner let it go, without the owner waiting for it.
class GlibLoopThread final {
public:
    GlibLoopThread();
    ~GlibLoopThread();
    GlibLoopThread(const GlibLoopThread&) = delete;
    GlibLoopThread& operator=(const GlibLoopThread&) = delete;

    // Runs `work` on the thread, with its context as the thread-default one. Any thread.
    void post(std::function<void()> work);
    // The same, once `delay` has passed.
    void postAfter(std::chrono::milliseconds delay, std::function<void()> work);

private:
    GMainContext* m_context = nullptr;
    GMainLoop* m_loop = nullptr;
    std::thread m_thread;
};
