#pragma once

#include <chrono>
#include <memory>

// Asynchronous requests to other services (D-Bus calls) that have been sent but not yet answered. A
// short-lived program waits for them before it exits, so that a request is never lost with the process.
namespace PendingCalls {

// Called from any thread when a request goes out, and on the main thread when its answer has been handled.
void started();
void finished();

// Counts as one request from its making until its last copy is gone: for work that hops between threads
// before its requests go out, which the wait must not cut short.
using Hold = std::shared_ptr<const void>;
[[nodiscard]] Hold hold();

// On the main thread: handles events until every request has been answered or the time is up.
void waitForAll(std::chrono::milliseconds limit);

} // namespace PendingCalls
