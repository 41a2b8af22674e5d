#pragma once

#include "core/EnumNames.h"
#include "platform/PlatformWordings.h"

#include <array>

// The tile editor's choice of action, one form each; the title is what its kind picker shows, in this order.
enum class ActionKind {
    empty,
    app,
    file,
    url,
    playlist,
    album,
    nowPlaying,
    system,
    bluetooth,
    audioOutput,
    snippet,
    shortcut,
    script,
    scene,
};

template <>
struct EnumTable<ActionKind> {
    static constexpr EnumNames<ActionKind, 14> names{{{
        {u"empty", u"Empty"},
        {u"app", u"Open App"},
        {u"file", u"Open File or Folder"},
        {u"url", u"Open URL"},
        {u"playlist", u"Play Music Playlist"},
        {u"album", u"Play Music Album"},
        {u"nowPlaying", u"Now Playing (Music)"},
        {u"system", u"System Action"},
        {u"bluetooth", u"Connect Bluetooth"},
        {u"audioOutput", u"Audio Output"},
        {u"snippet", u"Copy Snippet"},
        {u"shortcut", u"Run Shortcut"},
        {u"script", u"Run Script"},
        {u"scene", u"Scene (Multiple Actions)"},
    }}};
};

inline constexpr std::array allActionKinds{
    ActionKind::empty,     ActionKind::app,         ActionKind::file,       ActionKind::url,
    ActionKind::playlist,  ActionKind::album,       ActionKind::nowPlaying, ActionKind::system,
    ActionKind::bluetooth, ActionKind::audioOutput, ActionKind::snippet,    ActionKind::shortcut,
    ActionKind::script,    ActionKind::scene,
};

// The kinds a step of a scene can take, in the order the step sheet lists them.
inline constexpr std::array stepKinds{
    ActionKind::app,    ActionKind::file,     ActionKind::url,    ActionKind::playlist,
    ActionKind::system, ActionKind::shortcut, ActionKind::script,
};

// The tile editor's choice of icon form, in the order its picker lists them.
enum class IconKind {
    automatic,
    builder,
    symbol,
    custom,
};

template <>
struct EnumTable<IconKind> {
    static constexpr EnumNames<IconKind, 4> names{{{
        {u"auto", u"Automatic"},
        {u"builder", u"Tile Builder"},
        {u"symbol", u"SF Symbol"},
        {u"custom", u"Custom Image"},
    }}};
};

inline constexpr std::array allIconKinds{IconKind::automatic, IconKind::builder, IconKind::symbol,
                                         IconKind::custom};

// The picker's title of an icon form; the system's symbols are named as this platform names them.
[[nodiscard]] inline QString iconKindTitle(IconKind kind, const PlatformWordings& wordings)
{
    return kind == IconKind::symbol ? wordings.symbolIconStyle : title(kind);
}
