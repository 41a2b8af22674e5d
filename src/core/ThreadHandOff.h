#pragma once

#include <functional>

#if defined(__SANITIZE_THREAD__)
#define MARQUETTO_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define MARQUETTO_THREAD_SANITIZER 1
#endif
#endif

#ifdef MARQUETTO_THREAD_SANITIZER
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
#endif

// Jobs handed to a Qt thread pool. The pool passes a job to its thread, and tells the thread waiting for it
// that it is done, under Qt's own futex-based locks, which ThreadSanitizer cannot see: everything a job
// captured or left behind would read as raced. These mark both hand-overs on one token that stands for the
// pools' locks; without the sanitizer they do nothing.
namespace ThreadHandOff {

#ifdef MARQUETTO_THREAD_SANITIZER
inline char token;
#endif

// The job to queue: marked handed over once made, taken on the thread that runs it, marked done at its end.
inline std::function<void()> handedOver(std::function<void()> job)
{
#ifdef MARQUETTO_THREAD_SANITIZER
    std::function<void()> taken = [job = std::move(job)] {
        __tsan_acquire(&token);
        job();
        __tsan_release(&token);
    };
    __tsan_release(&token);
    return taken;
#else
    return job;
#endif
}

// After waiting for a pool's jobs: what they did is seen from here on.
inline void waitedFor()
{
#ifdef MARQUETTO_THREAD_SANITIZER
    __tsan_acquire(&token);
#endif
}

} // namespace ThreadHandOff
