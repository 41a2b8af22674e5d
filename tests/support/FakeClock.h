#pragma once

#include "core/Clock.h"

#include <algorithm>
#include <map>
#include <utility>

// A clock that stands still until the test moves it. Moving it on rings, there and then, every alarm it
// passed, earliest first; setting it back rings every alarm, as a clock set by hand does.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)))
        : m_now(std::move(start))
    {
    }

    [[nodiscard]] QDateTime now() const override { return m_now; }

    [[nodiscard]] std::unique_ptr<ClockAlarm> alarmAt(const QDateTime& moment, Ring ring) const override
    {
        const int id = ++m_lastAlarm;
        m_alarms.emplace(id, Pending{moment, std::move(ring)});
        return std::make_unique<Alarm>(m_alarms, id);
    }

    void set(QDateTime now)
    {
        const bool setBack = now < m_now;
        m_now = std::move(now);
        if (setBack) {
            for (const auto& [id, pending] : std::exchange(m_alarms, {}))
                pending.ring();
        }
        // A ring may set or drop alarms, so the earliest due one is looked for afresh each time.
        for (;;) {
            const auto due =
                std::min_element(m_alarms.begin(), m_alarms.end(), [](const auto& a, const auto& b) {
                    return a.second.moment < b.second.moment;
                });
            if (due == m_alarms.end() || due->second.moment > m_now)
                return;
            const Ring ring = std::move(due->second.ring);
            m_alarms.erase(due);
            ring();
        }
    }

    void advance(qint64 seconds) { set(m_now.addSecs(seconds)); }

    // The alarms set and neither rung nor dropped.
    [[nodiscard]] std::size_t alarmsSet() const { return m_alarms.size(); }

private:
    struct Pending {
        QDateTime moment;
        Ring ring;
    };
    using Alarms = std::map<int, Pending>;

    class Alarm final : public ClockAlarm {
    public:
        Alarm(Alarms& alarms, int id)
            : m_alarms(alarms)
            , m_id(id)
        {
        }
        ~Alarm() override { m_alarms.erase(m_id); }

        Alarm(const Alarm&) = delete;
        Alarm& operator=(const Alarm&) = delete;

    private:
        Alarms& m_alarms;
        int m_id;
    };

    QDateTime m_now;
    mutable Alarms m_alarms;
    mutable int m_lastAlarm = 0;
};
