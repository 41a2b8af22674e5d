#pragma once

#include "core/EnumNames.h"

#include <array>

// The built-in system commands a tile can run. The raw value is what the layout file stores.
enum class SystemAction {
    volumeUp,
    volumeDown,
    muteToggle,
    darkModeToggle,
    lockScreen,
    sleep,
    snapLeft,
    snapRight,
    snapFull,
    snapCentre,
};

template <>
struct EnumTable<SystemAction> {
    static constexpr EnumNames<SystemAction, 10> names{{{
        {u"volumeUp", u"Volume Up"},
        {u"volumeDown", u"Volume Down"},
        {u"muteToggle", u"Mute Toggle"},
        {u"darkModeToggle", u"Toggle Dark Mode"},
        {u"lockScreen", u"Lock Screen"},
        {u"sleep", u"Sleep"},
        {u"snapLeft", u"Snap Window Left"},
        {u"snapRight", u"Snap Window Right"},
        {u"snapFull", u"Fill Screen"},
        {u"snapCentre", u"Centre Window"},
    }}};
};

inline constexpr std::array allSystemActions{
    SystemAction::volumeUp,       SystemAction::volumeDown, SystemAction::muteToggle,
    SystemAction::darkModeToggle, SystemAction::lockScreen, SystemAction::sleep,
    SystemAction::snapLeft,       SystemAction::snapRight,  SystemAction::snapFull,
    SystemAction::snapCentre,
};
