#include "band/DayProgress.h"

#include "support/EnvironmentGuard.h"
#include "support/QtPrinters.h"

#include <QDateTime>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

const QTimeZone berlin("Europe/Berlin");

TEST(DayProgressTest, MeasuresTheDayByItsRealLengthAcrossDaylightSavingChanges)
{
    struct Case {
        const char* name;
        QDate date;
        QTime time;
        const char* caption;
    };
    const Case cases[] = {
        {"midnight", {2026, 3, 5}, {0, 0}, "DAY 0%"},
        {"noon of 24 hours", {2026, 3, 5}, {12, 0}, "DAY 50%"},
        {"last second", {2026, 3, 5}, {23, 59, 59}, "DAY 100%"},
        {"noon of 23 hours: 11 of them gone", {2026, 3, 29}, {12, 0}, "DAY 48%"},
        {"noon of 25 hours: 13 of them gone", {2026, 10, 25}, {12, 0}, "DAY 52%"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DayProgress::caption(DayProgress::fraction(QDateTime(c.date, c.time, berlin))),
                  QLatin1String(c.caption));
    }
}

TEST(DayProgressTest, TheSystemsLocalTimeCountsItsShortDayToo)
{
    EnvironmentGuard environment;
    environment.set("TZ", "Europe/Berlin");
    const QDateTime noon({2026, 3, 29}, {12, 0}, Qt::LocalTime);
    EXPECT_DOUBLE_EQ(DayProgress::fraction(noon), 11.0 / 23.0);
}

} // namespace
