#pragma once

#include <functional>

// Work that may block (external programs, sound server and Bluetooth calls) runs here, one job per call,
// several at a time, never on the main thread. The queue is never waited for when the process ends: a job
// stuck on a program that never finishes does not hold up quitting.
namespace BackgroundQueue {

void run(std::function<void()> job);

// Waits until every job handed over so far has finished: for a short-lived program that must not exit
// before its work is done.
void waitForDone();

} // namespace BackgroundQueue
