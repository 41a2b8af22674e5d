#pragma once

#include "core/EnumNames.h"

// The preference enumerations, each stored by its raw value; the titles are what the settings window shows.

enum class TileSizeOption { regular, large };
enum class PageTransitionOption { ripple, depth, crossfade };
enum class ChipStyleOption { light, dark, tinted, clear };

template <>
struct EnumTable<TileSizeOption> {
    static constexpr EnumNames<TileSizeOption, 2> names{{{{u"regular", u"Regular"}, {u"large", u"Large"}}}};
};

template <>
struct EnumTable<PageTransitionOption> {
    static constexpr EnumNames<PageTransitionOption, 3> names{{{
        {u"ripple", u"Ripple"},
        {u"depth", u"Depth"},
        {u"crossfade", u"Crossfade"},
    }}};
};

template <>
struct EnumTable<ChipStyleOption> {
    static constexpr EnumNames<ChipStyleOption, 4> names{{{
        {u"light", u"Light"},
        {u"dark", u"Dark"},
        {u"tinted", u"Tinted"},
        {u"clear", u"Clear"},
    }}};
};
