#include "band/BandCustomizeState.h"

#include "model/Settings.h"

#include <gtest/gtest.h>

namespace {

using enum BandModule;
using Modules = QList<BandModule>;

BandCustomizeState::AvailableRow availableRow(const BandCustomizeState& state, BandModule module)
{
    for (const auto& row : state.availableRows()) {
        if (row.module == module)
            return row;
    }
    ADD_FAILURE() << "not available: " << rawValue(module).toStdString();
    return {};
}

TEST(BandCustomizeState, TheCapacityRowCountsEveryModuleOnTheList)
{
    const BandCustomizeState full(DeckSettings::defaultBandModules(), 6);
    EXPECT_EQ(full.capacityText(), QStringLiteral("6 of 6 units"));
    EXPECT_FALSE(full.isOverCapacity());

    // The weather does not show on the band, but still counts.
    const BandCustomizeState over({nextMeeting, wifi, weather}, 6);
    EXPECT_EQ(over.capacityText(), QStringLiteral("7 of 6 units"));
    EXPECT_TRUE(over.isOverCapacity());
}

TEST(BandCustomizeState, AModuleThatDoesNotFitSaysHowManyUnitsToFreeUp)
{
    const struct {
        const char* name;
        Modules modules;
        BandModule module;
        const char* freeUp;
        const char* help;
    } cases[] = {
        {"short by exactly 1", DeckSettings::defaultBandModules(), cpuLoad, "free up 1u",
         "The band is full — remove 1 unit of controls to fit CPU Load."},
        {"short by 2", DeckSettings::defaultBandModules(), network, "free up 2u",
         "The band is full — remove 2 units of controls to fit Network."},
        {"fits exactly", {dateTime, uptime}, network, "", "Add Network to the band"},
        {"plenty of room", {}, nextMeeting, "", "Add Next Meeting to the band"},
    };
    for (const auto& c : cases) {
        const BandCustomizeState state(c.modules, 6);
        const auto row = availableRow(state, c.module);
        EXPECT_EQ(row.freeUp, QString::fromUtf8(c.freeUp)) << c.name;
        EXPECT_EQ(row.help, QString::fromUtf8(c.help)) << c.name;
        EXPECT_EQ(row.canAdd(), row.freeUp.isEmpty()) << c.name;
        EXPECT_EQ(state.added(c.module).contains(c.module), row.canAdd()) << c.name;
    }
}

TEST(BandCustomizeState, RowsFollowTheListAndEditsGiveTheNewList)
{
    const BandCustomizeState state({cpuLoad, memory, uptime}, 9);
    const auto rows = state.onBandRows();
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[0].title, QStringLiteral("CPU Load"));
    EXPECT_EQ(rows[2].width, QStringLiteral("2u"));
    EXPECT_FALSE(rows[0].canMoveUp);
    EXPECT_TRUE(rows[1].canMoveUp && rows[1].canMoveDown);
    EXPECT_FALSE(rows[2].canMoveDown);
    EXPECT_EQ(state.availableRows().size(), 21U);
    EXPECT_EQ(state.availableRows().front().module, micMute);

    EXPECT_EQ(state.movedUp(1), (Modules{memory, cpuLoad, uptime}));
    EXPECT_EQ(state.movedDown(1), (Modules{cpuLoad, uptime, memory}));
    EXPECT_EQ(state.movedUp(0), (Modules{cpuLoad, memory, uptime}));
    EXPECT_EQ(state.movedDown(2), (Modules{cpuLoad, memory, uptime}));
    EXPECT_EQ(state.removed(0), (Modules{memory, uptime}));
    EXPECT_EQ(state.removed(7), (Modules{cpuLoad, memory, uptime}));
    EXPECT_EQ(state.added(worldClock), (Modules{cpuLoad, memory, uptime, worldClock}));
    EXPECT_EQ(state.added(memory), (Modules{cpuLoad, memory, uptime}));
    EXPECT_FALSE(state.showsWorldClock());
    EXPECT_TRUE(BandCustomizeState(state.added(worldClock), 9).showsWorldClock());
}

TEST(BandCustomizeState, TimeZonesAreNamedByTheirCity)
{
    EXPECT_EQ(BandCustomizeState::timeZoneTitle(QStringLiteral("America/New_York")),
              QStringLiteral("New York"));
    EXPECT_EQ(BandCustomizeState::timeZoneTitle(QStringLiteral("America/Argentina/Buenos_Aires")),
              QStringLiteral("Buenos Aires"));
    EXPECT_EQ(BandCustomizeState::timeZoneTitle(QStringLiteral("UTC")), QStringLiteral("UTC"));
}

} // namespace
