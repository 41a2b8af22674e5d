#include "band/BandClock.h"

#include "support/FakeClock.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

TEST(BandClockTest, StartsWithTheClocksTimeAndPublishesItOnTicksOnlyWhenItMoved)
{
    FakeClock clock;
    BandClock band(clock);
    QSignalSpy changes(&band, &BandClock::nowChanged);
    EXPECT_EQ(band.now(), clock.now());

    band.start();
    band.tick();
    EXPECT_EQ(changes.count(), 0);

    clock.advance(1);
    band.tick();
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(band.now(), clock.now());
}

} // namespace
