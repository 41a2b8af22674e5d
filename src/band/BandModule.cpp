#include "BandModule.h"

#include "core/EnumNames.h"

namespace {

constexpr EnumNames<BandModule, bandModuleCount> names({{
    {u"micMute", u"Mic Mute"},
    {u"volumeDown", u"Volume Down"},
    {u"volumeUp", u"Volume Up"},
    {u"dateTime", u"Date & Time"},
    {u"keepAwake", u"Keep Awake"},
    {u"darkMode", u"Dark Mode"},
    {u"messages", u"Messages"},
    {u"nextMeeting", u"Next Meeting"},
    {u"focus", u"Do Not Disturb"},
    {u"cpuLoad", u"CPU Load"},
    {u"memory", u"Memory"},
    {u"network", u"Network"},
    {u"battery", u"Battery"},
    {u"driveSpace", u"Free Space"},
    {u"trash", u"Trash"},
    {u"wifi", u"Wi-Fi"},
    {u"localIP", u"Local IP"},
    {u"uptime", u"Uptime"},
    {u"dayProgress", u"Day Progress"},
    {u"publicIP", u"Public IP"},
    {u"worldClock", u"World Clock"},
    {u"countdown", u"Countdown"},
    {u"pomodoro", u"Focus Timer"},
    {u"weather", u"Weather"},
}});

static_assert(static_cast<size_t>(BandModule::weather) + 1 == bandModuleCount);

} // namespace

QString rawValue(BandModule module)
{
    return names.rawValue(module);
}

QString title(BandModule module)
{
    return names.title(module);
}

std::optional<BandModule> bandModuleFromRawValue(QStringView rawValue)
{
    return names.fromRawValue(rawValue);
}
