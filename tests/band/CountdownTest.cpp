#include "band/Countdown.h"

#include "support/QtPrinters.h"

#include <QDateTime>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <limits>

namespace {

const QTimeZone berlin("Europe/Berlin");

double at(QDate date, QTime time)
{
    return static_cast<double>(QDateTime(date, time, berlin).toSecsSinceEpoch());
}

TEST(CountdownTest, CountsCalendarDaysInTheLocalZone)
{
    const QDateTime now({2026, 3, 28}, {14, 7, 9}, berlin);
    const struct {
        const char* name;
        double date;
        const char* value;
    } cases[] = {
        {"no date", 0, "Set…"},
        {"not a number", std::numeric_limits<double>::quiet_NaN(), "Set…"},
        {"later today", at({2026, 3, 28}, {23, 59}), "Today"},
        {"tomorrow, still today in UTC", at({2026, 3, 29}, {0, 30}), "1d"},
        {"across the 23-hour day", at({2026, 3, 30}, {0, 30}), "2d"},
        {"three days ago", at({2026, 3, 25}, {23, 0}), "3d ago"},
        {"10^15 seconds away", 1e15, "11574053534d"},
        {"beyond what a date holds", std::numeric_limits<double>::infinity(), "104166646126d"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Countdown::value(now, c.date), QString::fromUtf8(c.value));
    }
}

} // namespace
