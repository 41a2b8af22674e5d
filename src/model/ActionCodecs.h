#pragma once

#include "model/Models.h"

#include <QJsonObject>
#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

// How each kind of action is stored in the layout file: the name of its case and its fields. The encoder and
// the decoder of `TileCoding` both work from this one table, so a new kind of action is one trait here.
//
// A case whose fields are all strings lists them in `fields`, in the order they are read (the first one
// missing is the one reported); they are written in code point order of their keys, as the canonical
// writer requires. Any other case has `read(reader, payload)` and `write(writer, value)`, over the
// reader's and the writer's `string`, `boolean`, `rawValue` and `actions`.
template <typename Case>
struct ActionCodec;

template <typename Case, size_t N>
using StringFields = std::array<std::pair<const char16_t*, QString Case::*>, N>;

template <typename Case, size_t N>
constexpr StringFields<Case, N> inKeyOrder(StringFields<Case, N> fields)
{
    std::sort(fields.begin(), fields.end(), [](const auto& a, const auto& b) {
        return std::u16string_view(a.first) < std::u16string_view(b.first);
    });
    return fields;
}

template <>
struct ActionCodec<TileAction::LaunchApp> {
    static constexpr const char16_t* name = u"launchApp";
    static constexpr StringFields<TileAction::LaunchApp, 1> fields{{{u"path", &TileAction::LaunchApp::path}}};
};

template <>
struct ActionCodec<TileAction::OpenFile> {
    static constexpr const char16_t* name = u"openFile";
    static constexpr StringFields<TileAction::OpenFile, 1> fields{{{u"path", &TileAction::OpenFile::path}}};
};

template <>
struct ActionCodec<TileAction::OpenURL> {
    static constexpr const char16_t* name = u"openURL";
    static constexpr StringFields<TileAction::OpenURL, 1> fields{
        {{u"urlString", &TileAction::OpenURL::urlString}}};
};

template <>
struct ActionCodec<TileAction::PlayPlaylist> {
    static constexpr const char16_t* name = u"playPlaylist";
    static constexpr StringFields<TileAction::PlayPlaylist, 1> fields{
        {{u"name", &TileAction::PlayPlaylist::name}}};
};

template <>
struct ActionCodec<TileAction::PlayAlbum> {
    static constexpr const char16_t* name = u"playAlbum";
    static constexpr StringFields<TileAction::PlayAlbum, 2> fields{
        {{u"name", &TileAction::PlayAlbum::name}, {u"artist", &TileAction::PlayAlbum::artist}}};
};

template <>
struct ActionCodec<TileAction::NowPlaying> {
    static constexpr const char16_t* name = u"nowPlaying";
    static constexpr StringFields<TileAction::NowPlaying, 0> fields{};
};

template <>
struct ActionCodec<TileAction::RunSystemAction> {
    static constexpr const char16_t* name = u"systemAction";
    template <typename Reader>
    static std::optional<TileAction::RunSystemAction> read(Reader& reader, const QJsonObject& payload)
    {
        const std::optional<SystemAction> action =
            reader.template rawValue<SystemAction>(payload, u"action", u"SystemAction");
        if (!action)
            return std::nullopt;
        return TileAction::RunSystemAction{*action};
    }
    template <typename Writer>
    static void write(Writer& writer, const TileAction::RunSystemAction& value)
    {
        writer.string(u"action", rawValue(value.action));
    }
};

template <>
struct ActionCodec<TileAction::RunShortcut> {
    static constexpr const char16_t* name = u"runShortcut";
    static constexpr StringFields<TileAction::RunShortcut, 1> fields{
        {{u"name", &TileAction::RunShortcut::name}}};
};

template <>
struct ActionCodec<TileAction::RunScript> {
    static constexpr const char16_t* name = u"runScript";
    template <typename Reader>
    static std::optional<TileAction::RunScript> read(Reader& reader, const QJsonObject& payload)
    {
        const std::optional<QString> source = reader.string(payload, u"source");
        if (!source)
            return std::nullopt;
        const std::optional<bool> isAppleScript = reader.boolean(payload, u"isAppleScript");
        if (!isAppleScript)
            return std::nullopt;
        return TileAction::RunScript{*source, *isAppleScript};
    }
    template <typename Writer>
    static void write(Writer& writer, const TileAction::RunScript& value)
    {
        writer.boolean(u"isAppleScript", value.isAppleScript);
        writer.string(u"source", value.source);
    }
};

template <>
struct ActionCodec<TileAction::Sequence> {
    static constexpr const char16_t* name = u"sequence";
    template <typename Reader>
    static std::optional<TileAction::Sequence> read(Reader& reader, const QJsonObject& payload)
    {
        std::optional<std::vector<TileAction>> steps = reader.actions(payload, u"steps");
        if (!steps)
            return std::nullopt;
        return TileAction::Sequence{std::move(*steps)};
    }
    template <typename Writer>
    static void write(Writer& writer, const TileAction::Sequence& value)
    {
        writer.actions(u"steps", value.steps);
    }
};

template <>
struct ActionCodec<TileAction::ConnectBluetooth> {
    static constexpr const char16_t* name = u"connectBluetooth";
    static constexpr StringFields<TileAction::ConnectBluetooth, 2> fields{
        {{u"address", &TileAction::ConnectBluetooth::address},
         {u"name", &TileAction::ConnectBluetooth::name}}};
};

template <>
struct ActionCodec<TileAction::AudioOutput> {
    static constexpr const char16_t* name = u"audioOutput";
    static constexpr StringFields<TileAction::AudioOutput, 2> fields{
        {{u"deviceUID", &TileAction::AudioOutput::deviceUID}, {u"name", &TileAction::AudioOutput::name}}};
};

template <>
struct ActionCodec<TileAction::Snippet> {
    static constexpr const char16_t* name = u"snippet";
    static constexpr StringFields<TileAction::Snippet, 1> fields{{{u"text", &TileAction::Snippet::text}}};
};
