#pragma once

#include "platform/CalendarStore.h"
#include "platform/linux/calendar/ICalendarParse.h"
#include "platform/linux/calendar/eds/EdsCalendar.h"

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class GlibLoopThread;

// Reads the events of Evolution Data Server calendars, recurrences expanded, and keeps each calendar's last
// good answer: a calendar whose backend has quit or does not answer within `timeout` shows what it showed
// before. Any thread; reads block the calling thread, never longer than `timeout` per calendar.
class EdsEventReader final {
public:
    static constexpr std::chrono::seconds timeout{10};

    // `loop` runs the deadlines.
    explicit EdsEventReader(std::shared_ptr<GlibLoopThread> loop);

    [[nodiscard]] QList<CalendarEvent> events(const std::vector<EdsCalendar>& calendars,
                                              const QDateTime& from, const QDateTime& to);

private:
    [[nodiscard]] std::optional<ICalendarData> read(const EdsCalendar& calendar, const QDateTime& from,
                                                    const QDateTime& to) const;

    std::shared_ptr<GlibLoopThread> m_loop;
    std::mutex m_mutex;
    std::map<QString, std::shared_ptr<const ICalendarData>> m_last;
};
