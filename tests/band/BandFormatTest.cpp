#include "band/BandFormat.h"

#include <QtNumeric>
#include <gtest/gtest.h>

namespace {

struct Case {
    double input;
    const char* text;
};

TEST(BandFormat, RatesStepAtDecimalThousands)
{
    for (const Case& c : {Case{999, "999"}, Case{999.4, "999"}, Case{1000, "1K"}, Case{1499, "1K"},
                          Case{999'999, "1000K"}, Case{1'000'000, "1.0M"}, Case{1'500'000, "1.5M"},
                          Case{-5, "0"}, Case{qQNaN(), "0"}, Case{qInf(), "0"}})
        EXPECT_EQ(BandFormat::rate(c.input), QString::fromUtf8(c.text)) << c.input;
}

TEST(BandFormat, UptimeShowsItsTwoLargestWholeUnits)
{
    for (const Case& c :
         {Case{59, "0m"}, Case{3599.9, "59m"}, Case{3600, "1h 0m"}, Case{86'399, "23h 59m"},
          Case{86'400, "1d 0h"}, Case{1e15, "11574074074d 1h"}, Case{-1, "0m"}, Case{qQNaN(), "0m"}})
        EXPECT_EQ(BandFormat::uptime(c.input), QString::fromUtf8(c.text)) << c.input;
}

} // namespace
