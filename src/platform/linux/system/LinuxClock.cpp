#include "platform/linux/system/LinuxClock.h"

#include "core/Logging.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {

class WallTimerAlarm final : public ClockAlarm {
public:
    WallTimerAlarm(int descriptor, Clock::Ring ring)
        : m_descriptor(descriptor)
        , m_notifier(descriptor, QSocketNotifier::Read)
    {
        QObject::connect(&m_notifier, &QSocketNotifier::activated, [this, ring = std::move(ring)] {
            // Either the moment came or the time was set (the read fails with ECANCELED): rung once either
            // way.
            std::uint64_t expirations = 0;
            [[maybe_unused]] const ssize_t read = ::read(m_descriptor, &expirations, sizeof expirations);
            m_notifier.setEnabled(false);
            ring();
        });
    }

    ~WallTimerAlarm() override { ::close(m_descriptor); }

    WallTimerAlarm(const WallTimerAlarm&) = delete;
    WallTimerAlarm& operator=(const WallTimerAlarm&) = delete;

private:
    int m_descriptor;
    QSocketNotifier m_notifier;
};

} // namespace

std::unique_ptr<ClockAlarm> LinuxClock::alarmAt(const QDateTime& moment, Ring ring) const
{
    const int descriptor = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (descriptor < 0) {
        qCWarning(lcPlatform).noquote() << "Marquetto: no wall-clock timer (" << std::strerror(errno)
                                        << "); the event loop's timer stands in";
        return SystemClock::alarmAt(moment, std::move(ring));
    }
    const qint64 milliseconds = moment.toMSecsSinceEpoch();
    itimerspec when{};
    when.it_value.tv_sec = static_cast<time_t>(milliseconds / 1000);
    when.it_value.tv_nsec = static_cast<long>(milliseconds % 1000 * 1'000'000);
    // A zero time would disarm the timer: a moment at or before 1970 rings at once, as any past one does.
    if (milliseconds <= 0)
        when.it_value = {0, 1};
    if (timerfd_settime(descriptor, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &when, nullptr) != 0) {
        qCWarning(lcPlatform).noquote() << "Marquetto: the wall-clock timer refused its moment ("
                                        << std::strerror(errno) << "); the event loop's timer stands in";
        ::close(descriptor);
        return SystemClock::alarmAt(moment, std::move(ring));
    }
    return std::make_unique<WallTimerAlarm>(descriptor, std::move(ring));
}
