#include "band/WorldClock.h"

#include "support/EnvironmentGuard.h"
#include "support/LogCapture.h"
#include "support/QtPrinters.h"

#include <QDateTime>
#include <QLocale>
#include <gtest/gtest.h>

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);

TEST(WorldClockTest, OffersOnlyZonesTheSystemKnows)
{
    for (const QStringView zone : WorldClock::zones)
        EXPECT_TRUE(WorldClock(zone.toString()).isKnownZone()) << zone.toString().toStdString();
}

TEST(WorldClockTest, CaptionIsTheLabelOrThePlaceTheIdentifierNames)
{
    const struct {
        const char* zone;
        const char* label;
        const char* caption;
    } cases[] = {
        {"America/Los_Angeles", "", "LOS ANGELES"}, {"UTC", "", "UTC"}, {"Europe/Berlin", "Home", "HOME"},
        {"Mars/Olympus_Mons", "", "OLYMPUS MONS"},  {"", "", "CLOCK"},
    };
    const LogCapture log;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zone);
        EXPECT_EQ(WorldClock(QLatin1String(c.zone)).caption(QLatin1String(c.label)),
                  QLatin1String(c.caption));
    }
}

TEST(WorldClockTest, ShowsTheZonesTimeAcrossItsDaylightSavingChange)
{
    const QDateTime beforeBerlinsChange({2026, 3, 29}, {0, 30}, Qt::UTC);
    const QDateTime after = beforeBerlinsChange.addSecs(3600);
    const WorldClock berlin(QStringLiteral("Europe/Berlin"));
    EXPECT_EQ(berlin.time(beforeBerlinsChange, english), QStringLiteral("1:30 AM"));
    EXPECT_EQ(berlin.time(after, english), QStringLiteral("3:30 AM"));
}

TEST(WorldClockTest, AnUnknownZoneShowsTheSystemsOwnTimeAndIsLoggedOnce)
{
    EnvironmentGuard environment;
    environment.set("TZ", "Asia/Tokyo");
    const LogCapture log;
    const WorldClock clock(QStringLiteral("Mars/Olympus_Mons"));
    const QDateTime now({2026, 3, 5}, {14, 7}, Qt::UTC);
    EXPECT_FALSE(clock.isKnownZone());
    EXPECT_EQ(clock.time(now, english), QStringLiteral("11:07 PM"));
    EXPECT_EQ(clock.time(now, english), QStringLiteral("11:07 PM"));
    EXPECT_EQ(log.lines().size(), 1);
}

} // namespace
