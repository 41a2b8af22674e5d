#include "DeckOptions.h"

#include "core/EnumNames.h"

namespace {

constexpr EnumNames<TileSizeOption, 2> tileSizes({{{u"regular", u"Regular"}, {u"large", u"Large"}}});
constexpr EnumNames<PageTransitionOption, 3> pageTransitions({{
    {u"ripple", u"Ripple"},
    {u"depth", u"Depth"},
    {u"crossfade", u"Crossfade"},
}});
constexpr EnumNames<ChipStyleOption, 4> chipStyles({{
    {u"light", u"Light"},
    {u"dark", u"Dark"},
    {u"tinted", u"Tinted"},
    {u"clear", u"Clear"},
}});

} // namespace

QString rawValue(TileSizeOption option)
{
    return tileSizes.rawValue(option);
}

QString title(TileSizeOption option)
{
    return tileSizes.title(option);
}

std::optional<TileSizeOption> tileSizeFromRawValue(QStringView rawValue)
{
    return tileSizes.fromRawValue(rawValue);
}

QString rawValue(PageTransitionOption option)
{
    return pageTransitions.rawValue(option);
}

QString title(PageTransitionOption option)
{
    return pageTransitions.title(option);
}

std::optional<PageTransitionOption> pageTransitionFromRawValue(QStringView rawValue)
{
    return pageTransitions.fromRawValue(rawValue);
}

QString rawValue(ChipStyleOption option)
{
    return chipStyles.rawValue(option);
}

QString title(ChipStyleOption option)
{
    return chipStyles.title(option);
}

std::optional<ChipStyleOption> chipStyleFromRawValue(QStringView rawValue)
{
    return chipStyles.fromRawValue(rawValue);
}
