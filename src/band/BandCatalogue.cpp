#include "band/BandCatalogue.h"

#include <cstddef>

namespace BandCatalogue {

namespace {

struct Entry {
    BandModule module;
    const char16_t* symbol;
    int minUnits;
    int maxUnits;
    bool grows;
};

// Indexed by case; the module column keeps a reordering of the enumeration from going unnoticed.
constexpr std::array<Entry, 24> entries{{
    {BandModule::micMute, u"mic.slash", 1, 2, false},
    {BandModule::volumeDown, u"speaker.minus", 1, 2, false},
    {BandModule::volumeUp, u"speaker.plus", 1, 2, false},
    {BandModule::dateTime, u"calendar.badge.clock", 2, 4, false},
    {BandModule::keepAwake, u"cup.and.saucer", 1, 2, false},
    {BandModule::darkMode, u"moon", 1, 2, false},
    {BandModule::messages, u"message", 1, 2, false},
    {BandModule::nextMeeting, u"video", 3, 6, true},
    {BandModule::focus, u"moon", 1, 2, false},
    {BandModule::cpuLoad, u"cpu", 1, 2, false},
    {BandModule::memory, u"memorychip", 1, 2, false},
    {BandModule::network, u"arrow.up.arrow.down", 2, 4, false},
    {BandModule::battery, u"battery.100", 1, 2, false},
    {BandModule::driveSpace, u"internaldrive", 2, 4, false},
    {BandModule::trash, u"trash", 1, 2, false},
    {BandModule::wifi, u"wifi", 2, 4, true},
    {BandModule::localIP, u"network", 2, 4, false},
    {BandModule::uptime, u"clock.arrow.circlepath", 2, 4, false},
    {BandModule::dayProgress, u"chart.bar.fill", 2, 4, true},
    {BandModule::publicIP, u"globe", 2, 4, false},
    {BandModule::worldClock, u"clock", 2, 4, true},
    {BandModule::countdown, u"hourglass", 2, 4, false},
    {BandModule::pomodoro, u"timer", 2, 4, false},
    {BandModule::weather, u"cloud.sun", 2, 4, true},
}};

constexpr bool indexedByCase()
{
    for (size_t i = 0; i < entries.size(); ++i) {
        if (static_cast<size_t>(entries[i].module) != i)
            return false;
    }
    return entries.size() == EnumTable<BandModule>::names.count();
}
static_assert(indexedByCase());

const Entry& entry(BandModule module)
{
    return entries.at(static_cast<size_t>(module));
}

} // namespace

const std::array<BandModule, 24>& allCases()
{
    static const std::array<BandModule, 24> cases = [] {
        std::array<BandModule, 24> all{};
        for (size_t i = 0; i < all.size(); ++i)
            all[i] = entries[i].module;
        return all;
    }();
    return cases;
}

QString symbol(BandModule module)
{
    return QString::fromUtf16(entry(module).symbol);
}

int minUnits(BandModule module)
{
    return entry(module).minUnits;
}

int maxUnits(BandModule module)
{
    return entry(module).maxUnits;
}

bool grows(BandModule module)
{
    return entry(module).grows;
}

} // namespace BandCatalogue
