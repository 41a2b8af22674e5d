#pragma once

#include "platform/Clock.h"

// A clock that stands still until the test moves it.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)))
        : m_now(std::move(start))
    {
    }

    [[nodiscard]] QDateTime now() const override { return m_now; }
    void set(QDateTime now) { m_now = std::move(now); }
    void advance(qint64 seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now;
};
