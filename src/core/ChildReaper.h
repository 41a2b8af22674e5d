#pragma once

#include <sys/types.h>

// Collects the exit status of programs we started and do not wait for, so that none lingers as a zombie.
// One thread of ours watches them all, however long they run; where the kernel cannot watch a process for
// us (no pidfd), a thread waits for that one.
namespace ChildReaper {

// Called from any thread, once per child, right after it was started.
void reapWhenDone(pid_t pid);

// Waits, on the calling thread, until the child has ended, and reaps it.
void reapNow(pid_t pid);

} // namespace ChildReaper
