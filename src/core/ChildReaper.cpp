#include "ChildReaper.h"

#include <cerrno>
#include <cstdint>
#include <sys/epoll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// The watching thread: every started child is a pidfd in one epoll set, readable once the child has ended.
class Reaper {
public:
    Reaper()
        : m_epoll(::epoll_create1(EPOLL_CLOEXEC))
    {
        if (m_epoll >= 0)
            std::thread([this] { watch(); }).detach();
    }

    void add(pid_t pid)
    {
        const int pidfd = m_epoll >= 0 ? static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)) : -1;
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.u64 =
            (std::uint64_t{static_cast<std::uint32_t>(pid)} << 32) | static_cast<std::uint32_t>(pidfd);
        if (pidfd < 0 || ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, pidfd, &event) != 0) {
            if (pidfd >= 0)
                ::close(pidfd);
            std::thread(ChildReaper::reapNow, pid).detach();
        }
    }

private:
    [[noreturn]] void watch()
    {
        epoll_event events[16];
        for (;;) {
            const int count = ::epoll_wait(m_epoll, events, 16, -1);
            for (int i = 0; i < count; ++i) {
                const auto pid = static_cast<pid_t>(events[i].data.u64 >> 32);
                const auto pidfd = static_cast<int>(events[i].data.u64 & 0xffffffffu);
                ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, pidfd, nullptr);
                ::close(pidfd);
                ChildReaper::reapNow(pid);
            }
        }
    }

    int m_epoll = -1;
};

} // namespace

void ChildReaper::reapWhenDone(pid_t pid)
{
    // Never destroyed: its thread runs for the life of the process.
    static Reaper* const reaper = new Reaper;
    reaper->add(pid);
}

void ChildReaper::reapNow(pid_t pid)
{
    while (::waitpid(pid, nullptr, 0) == -1 && errno == EINTR) {
    }
}
