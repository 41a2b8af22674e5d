#include "SystemAction.h"

#include "core/EnumNames.h"

namespace {

constexpr EnumNames<SystemAction, allSystemActions.size()> names({{
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
}});

} // namespace

QString rawValue(SystemAction action)
{
    return names.rawValue(action);
}

QString title(SystemAction action)
{
    return names.title(action);
}

std::optional<SystemAction> systemActionFromRawValue(QStringView rawValue)
{
    return names.fromRawValue(rawValue);
}
