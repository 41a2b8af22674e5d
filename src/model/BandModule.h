#pragma once

#include "core/EnumNames.h"

// The kinds of live module the accessory band can show, in catalogue order. Stored by raw value.
enum class BandModule {
    micMute,
    volumeDown,
    volumeUp,
    dateTime,
    keepAwake,
    darkMode,
    messages,
    nextMeeting,
    focus,
    cpuLoad,
    memory,
    network,
    battery,
    driveSpace,
    trash,
    wifi,
    localIP,
    uptime,
    dayProgress,
    publicIP,
    worldClock,
    countdown,
    pomodoro,
    weather,
};

template <>
struct EnumTable<BandModule> {
    static constexpr EnumNames<BandModule, 24> names{{{
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
    }}};
    static_assert(static_cast<size_t>(BandModule::weather) + 1 == decltype(names)::count());
};
