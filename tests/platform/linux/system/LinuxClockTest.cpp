#include "platform/linux/system/LinuxClock.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(LinuxClockTest, AlarmsRingInTheOrderOfTheirMomentsOnceEachAndNotWhenDropped)
{
    const LinuxClock clock;
    QStringList rung;
    const QDateTime now = clock.now();
    const auto ringing = [&rung](const char* name) {
        return [&rung, name] { rung << QString::fromLatin1(name); };
    };
    const std::unique_ptr<ClockAlarm> later = clock.alarmAt(now.addMSecs(80), ringing("later"));
    std::unique_ptr<ClockAlarm> dropped = clock.alarmAt(now.addMSecs(40), ringing("dropped"));
    const std::unique_ptr<ClockAlarm> past = clock.alarmAt(now.addSecs(-5), ringing("past"));
    const std::unique_ptr<ClockAlarm> ancient =
        clock.alarmAt(QDateTime::fromMSecsSinceEpoch(0), ringing("1970"));
    dropped.reset();

    // The dropped alarm's moment came first: had it rung, it would have by now.
    ASSERT_TRUE(QTest::qWaitFor([&rung] { return rung.contains(u"later"); }));
    EXPECT_EQ(rung.size(), 3);
    EXPECT_EQ(rung.back(), u"later");
    EXPECT_GE(clock.now(), now.addMSecs(80));
}

} // namespace
