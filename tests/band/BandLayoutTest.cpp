#include "band/BandLayout.h"

#include "band/BandCatalogue.h"
#include "model/Settings.h"

#include <QtNumeric>
#include <gtest/gtest.h>

namespace {

using enum BandModule;
using Modules = QList<BandModule>;

TEST(BandLayout, AGridWidthGivesItsUnitsAndNeverFewerThanFour)
{
    const struct {
        const char* name;
        double width, padding;
        int units;
    } cases[] = {
        {"regular 3 columns", 104 * 3 + 20, 14, 6},
        {"regular 4 columns", 120.5 * 4 + 30, 14, 9},
        {"large 3 columns", 112 * 3 + 8, 8, 6},
        {"just short of 7 units", 60 * 7 - 34.01, 14, 6},
        {"exactly 7 units", 60 * 7 - 34, 14, 7},
        {"a narrow 4-column deck", 150, 14, 4},
        {"no width", 0, 0, 4},
        {"not a number", qQNaN(), 14, 4},
        {"stored by hand", 1e300, 14, 1000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BandLayout::unitCount(c.width, c.padding), c.units) << c.name;
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
        {"a meeting and a mic fill 4 units, no growth",
         {nextMeeting, micMute},
         4,
         {nextMeeting, micMute},
         {3, 1}},
        {"the too-wide third is skipped, the fourth shown",
         {micMute, volumeDown, nextMeeting, cpuLoad},
         4,
         {micMute, volumeDown, cpuLoad},
         {1, 1, 1}},
        {"3 spare units: +2 to the first, +1 to the second",
         {wifi, dayProgress},
         7,
         {wifi, dayProgress},
         {4, 3}},
        {"fixed modules keep their minimum",
         {cpuLoad, dateTime, memory},
         9,
         {cpuLoad, dateTime, memory},
         {1, 2, 1}},
        {"growth stops at the maximum",
         {cpuLoad, nextMeeting, weather},
         12,
         {cpuLoad, nextMeeting, weather},
         {1, 6, 4}},
        {"nothing on the band", {}, 6, {}, {}},
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
    const double unitWidth = (332 - 5 * 6) / 6.0;

    // The default band takes all 6 units of a regular 3 × 3 deck: edge to edge.
    const auto full = BandLayout::placements(DeckSettings::defaultBandModules(), band, 6);
    ASSERT_EQ(full.size(), 5U);
    EXPECT_DOUBLE_EQ(full.front().frame.left(), band.left());
    EXPECT_DOUBLE_EQ(full.back().frame.right(), band.right());
    EXPECT_DOUBLE_EQ(full[3].frame.width(), 2 * unitWidth + 6);
    for (size_t i = 1; i < full.size(); ++i)
        EXPECT_DOUBLE_EQ(full[i].frame.left() - full[i - 1].frame.right(), 6);

    // Two fixed modules leave 4 units empty, shared equally on either side.
    const auto centred = BandLayout::placements({cpuLoad, memory}, band, 6);
    ASSERT_EQ(centred.size(), 2U);
    EXPECT_DOUBLE_EQ(centred[0].frame.left() - band.left(), band.right() - centred[1].frame.right());
    EXPECT_EQ(centred[0].frame.top(), band.top());
    EXPECT_EQ(centred[0].frame.height(), BandLayout::height);

    EXPECT_TRUE(BandLayout::placements({cpuLoad}, band, 0).empty());
}

TEST(BandCatalogue, ListsEveryCaseOnceInOrderWithWidthsThatCanBeLaidOut)
{
    const auto& cases = BandCatalogue::allCases();
    for (size_t i = 0; i < cases.size(); ++i) {
        const BandModule module = cases[i];
        EXPECT_EQ(static_cast<size_t>(module), i);
        EXPECT_GE(BandCatalogue::minUnits(module), 1) << rawValue(module).toStdString();
        EXPECT_LE(BandCatalogue::minUnits(module), BandLayout::minimumUnitCount);
        EXPECT_GE(BandCatalogue::maxUnits(module), BandCatalogue::minUnits(module));
        EXPECT_FALSE(BandCatalogue::symbol(module).isEmpty());
    }
}

} // namespace
