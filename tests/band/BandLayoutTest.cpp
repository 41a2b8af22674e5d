#include "band/BandLayout.h"

#include "model/Settings.h"

#include <QtNumeric>
#include <gtest/gtest.h>

namespace {

using enum BandModule;
using Modules = QList<BandModule>;

TEST(BandLayout, AGridWidthGivesItsUnitsAndNeverFewerThanFour)
{
    const struct {
        double width, padding;
        int units;
    } cases[] = {{332, 14, 6}, {512, 14, 9}, {344, 8, 6},      {385.99, 14, 6},
                 {386, 14, 7}, {150, 14, 4}, {qQNaN(), 14, 4}, {1e300, 14, 1000}};
    for (const auto& c : cases)
        EXPECT_EQ(BandLayout::unitCount(c.width, c.padding), c.units) << c.width;
}

TEST(BandLayout, ModulesThatDoNotFitAreSkippedAndSpareUnitsGoToGrowableOnesInBandOrder)
{
    const struct {
        const char* name;
        Modules modules;
        int capacity;
        Modules visible;
        std::vector<int> widths;
    } cases[] = {
        {"no spare unit to grow", {nextMeeting, micMute}, 4, {nextMeeting, micMute}, {3, 1}},
        {"too wide third",
         {micMute, volumeDown, nextMeeting, cpuLoad},
         4,
         {micMute, volumeDown, cpuLoad},
         {1, 1, 1}},
        {"3 spare: +2 then +1", {wifi, dayProgress}, 7, {wifi, dayProgress}, {4, 3}},
        {"fixed ones keep their minimum", {cpuLoad, dateTime}, 9, {cpuLoad, dateTime}, {1, 2}},
        {"growth stops at the maximum",
         {cpuLoad, nextMeeting, weather},
         12,
         {cpuLoad, nextMeeting, weather},
         {1, 6, 4}},
    };
    for (const auto& c : cases) {
        const Modules visible = BandLayout::visibleModules(c.modules, c.capacity);
        EXPECT_EQ(visible, c.visible) << c.name;
        EXPECT_EQ(BandLayout::layout(visible, c.capacity), c.widths) << c.name;
    }
}

TEST(BandLayout, ModulesSitSixApartInACentredRowOfTheBandsHeight)
{
    const QRectF band(14, 390, 332, 44);
    // The default band takes all 6 units of a regular 3 × 3 deck, edge to edge; two fixed modules leave
    // 4 units empty, shared equally on either side.
    const auto full = BandLayout::placements(DeckSettings::defaultBandModules(), band, 6);
    const auto centred = BandLayout::placements({cpuLoad, memory}, band, 6);
    ASSERT_EQ(full.size(), 5U);
    ASSERT_EQ(centred.size(), 2U);
    EXPECT_DOUBLE_EQ(full.front().frame.left(), band.left());
    EXPECT_DOUBLE_EQ(full.back().frame.right(), band.right());
    EXPECT_DOUBLE_EQ(full[3].frame.left() - full[2].frame.right(), 6);
    EXPECT_DOUBLE_EQ(centred[0].frame.left() - band.left(), band.right() - centred[1].frame.right());
    EXPECT_EQ(centred[0].frame, QRectF(band.left() + 2 * (302 / 6.0 + 6), 390, 302 / 6.0, 44));
}

} // namespace
