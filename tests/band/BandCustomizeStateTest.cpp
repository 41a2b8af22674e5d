#include "band/BandCustomizeState.h"

#include "model/Settings.h"

#include <gtest/gtest.h>

namespace {

using enum BandModule;
using Modules = QList<BandModule>;

TEST(BandCustomizeState, TheCapacityCountsEveryModuleOnTheListAndWhatDoesNotFitSaysWhatToFreeUp)
{
    // The weather does not fit on the band, but still counts.
    const BandCustomizeState over({nextMeeting, wifi, weather}, 6);
    EXPECT_EQ(over.capacityText(), u"7 of 6 units");
    EXPECT_TRUE(over.isOverCapacity());

    const struct {
        Modules modules;
        BandModule module;
        const char* freeUp;
        const char* help;
    } cases[] = {
        {DeckSettings::defaultBandModules(), cpuLoad, "free up 1u",
         "The band is full — remove 1 unit of controls to fit CPU Load."},
        {DeckSettings::defaultBandModules(), network, "free up 2u",
         "The band is full — remove 2 units of controls to fit Network."},
        {{dateTime, uptime}, network, "", "Add Network to the band"},
    };
    for (const auto& c : cases) {
        const BandCustomizeState state(c.modules, 6);
        for (const auto& row : state.availableRows()) {
            if (row.module != c.module)
                continue;
            EXPECT_EQ(row.freeUp, QString::fromUtf8(c.freeUp));
            EXPECT_EQ(row.help, QString::fromUtf8(c.help));
            EXPECT_EQ(state.added(c.module).contains(c.module), row.canAdd()) << row.help.toStdString();
        }
    }
}

TEST(BandCustomizeState, EditsGiveTheNewListAndIgnoreRowsPastEitherEnd)
{
    const BandCustomizeState state({cpuLoad, memory, uptime}, 9);
    const struct {
        Modules edited, expected;
    } cases[] = {
        {state.movedUp(1), {memory, cpuLoad, uptime}},
        {state.movedDown(1), {cpuLoad, uptime, memory}},
        {state.movedUp(0), {cpuLoad, memory, uptime}},
        {state.movedDown(2), {cpuLoad, memory, uptime}},
        {state.removed(0), {memory, uptime}},
        {state.removed(7), {cpuLoad, memory, uptime}},
        {state.added(worldClock), {cpuLoad, memory, uptime, worldClock}},
        {state.added(memory), {cpuLoad, memory, uptime}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.edited, c.expected);
    EXPECT_EQ(BandCustomizeState::timeZoneTitle(QStringLiteral("America/Argentina/Buenos_Aires")),
              u"Buenos Aires");
    EXPECT_EQ(BandCustomizeState::timeZoneTitle(QStringLiteral("UTC")), u"UTC");
}

} // namespace
