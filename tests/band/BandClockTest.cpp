#include "band/BandClock.h"

#include "support/FakeClock.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

TEST(BandClockTest, WakesOnlyOnTheMinuteAndPublishesTheMinutesItSees)
{
    FakeClock clock; // 14:07:09
    BandClock band(clock);
    QSignalSpy changes(&band, &BandClock::nowChanged);
    EXPECT_EQ(band.now(), clock.now());

    band.start();
    band.start();
    EXPECT_EQ(clock.alarmsSet(), 1u);
    clock.advance(50);
    EXPECT_EQ(changes.count(), 0);
    clock.advance(1);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(band.now().time(), QTime(14, 8));
    EXPECT_EQ(clock.alarmsSet(), 1u);

    // A sleep over several minutes rings once on waking.
    clock.advance(185);
    ASSERT_EQ(changes.count(), 2);
    EXPECT_EQ(band.now().time(), QTime(14, 11, 5));

    // A time set back is shown at once and counted from.
    clock.set(clock.now().addSecs(-3600));
    EXPECT_EQ(changes.count(), 3);
    clock.advance(55);
    EXPECT_EQ(changes.count(), 4);
    EXPECT_EQ(band.now().time(), QTime(13, 12));

    band.stop();
    EXPECT_FALSE(band.isRunning());
    EXPECT_EQ(clock.alarmsSet(), 0u);
}

} // namespace
