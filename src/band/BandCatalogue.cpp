#include "band/BandCatalogue.h"

#include "band/BandModules.h"

#include <cstddef>

namespace BandCatalogue {

namespace {

struct Entry {
    BandModule module;
    const char16_t* symbol;
    int minUnits;
    int maxUnits;
    bool grows;
    std::unique_ptr<BandModuleKind> (*make)(const BandModuleContext&);
};

// Indexed by case; the module column keeps a reordering of the enumeration from going unnoticed.
constexpr std::array<Entry, count> entries{{
    {BandModule::micMute, u"mic.slash", 1, 2, false, &BandModules::micMute},
    {BandModule::volumeDown, u"speaker.minus", 1, 2, false, &BandModules::volumeDown},
    {BandModule::volumeUp, u"speaker.plus", 1, 2, false, &BandModules::volumeUp},
    {BandModule::dateTime, u"calendar.badge.clock", 2, 4, false, &BandModules::dateTime},
    {BandModule::keepAwake, u"cup.and.saucer", 1, 2, false, &BandModules::keepAwake},
    {BandModule::darkMode, u"moon", 1, 2, false, &BandModules::darkMode},
    {BandModule::messages, u"message", 1, 2, false, &BandModules::messages},
    {BandModule::nextMeeting, u"video", 3, 6, true, &BandModules::nextMeeting},
    {BandModule::focus, u"moon", 1, 2, false, &BandModules::focus},
    {BandModule::cpuLoad, u"cpu", 1, 2, false, &BandModules::cpuLoad},
    {BandModule::memory, u"memorychip", 1, 2, false, &BandModules::memory},
    {BandModule::network, u"arrow.up.arrow.down", 2, 4, false, &BandModules::network},
    {BandModule::battery, u"battery.100", 1, 2, false, &BandModules::battery},
    {BandModule::driveSpace, u"internaldrive", 2, 4, false, &BandModules::driveSpace},
    {BandModule::trash, u"trash", 1, 2, false, &BandModules::trash},
    {BandModule::wifi, u"wifi", 2, 4, true, &BandModules::wifi},
    {BandModule::localIP, u"network", 2, 4, false, &BandModules::localIP},
    {BandModule::uptime, u"clock.arrow.circlepath", 2, 4, false, &BandModules::uptime},
    {BandModule::dayProgress, u"chart.bar.fill", 2, 4, true, &BandModules::dayProgress},
    {BandModule::publicIP, u"globe", 2, 4, false, &BandModules::publicIP},
    {BandModule::worldClock, u"clock", 2, 4, true, &BandModules::worldClock},
    {BandModule::countdown, u"hourglass", 2, 4, false, &BandModules::countdown},
    {BandModule::pomodoro, u"timer", 2, 4, false, &BandModules::pomodoro},
    {BandModule::weather, u"cloud.sun", 2, 4, true, &BandModules::weather},
}};

constexpr bool indexedByCase()
{
    for (size_t i = 0; i < entries.size(); ++i) {
        if (static_cast<size_t>(entries[i].module) != i)
            return false;
    }
    return true;
}
static_assert(indexedByCase());

const Entry& entry(BandModule module)
{
    return entries.at(static_cast<size_t>(module));
}

} // namespace

const std::array<BandModule, count>& allCases()
{
    static const std::array<BandModule, count> cases = [] {
        std::array<BandModule, count> all{};
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

std::unique_ptr<BandModuleKind> make(BandModule module, const BandModuleContext& context)
{
    return entry(module).make(context);
}

} // namespace BandCatalogue
