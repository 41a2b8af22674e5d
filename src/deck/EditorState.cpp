#include "deck/EditorState.h"

#include "core/ColorText.h"
#include "core/Overloaded.h"
#include "model/TilePreset.h"
#include "model/TileStore.h"

#include <QCollator>
#include <algorithm>

namespace {

QString colorOr(const QString& text, const char16_t* fallback)
{
    return EditorState::normalisedColor(text).value_or(QString::fromUtf16(fallback));
}

bool isStep(const std::vector<TileAction>& steps, int at)
{
    return at >= 0 && static_cast<std::size_t>(at) < steps.size();
}

} // namespace

EditorState EditorState::fromTile(const Tile& tile, int page, int index)
{
    EditorState state;
    state.page = page;
    state.index = index;
    state.label = tile.label;
    state.setAction(tile.action);
    std::visit(Overloaded{
                   [&](const TileIcon::Auto&) { state.iconKind = IconKind::automatic; },
                   [&](const TileIcon::Symbol& symbol) {
                       state.iconKind = IconKind::symbol;
                       state.symbolName = symbol.name;
                       state.symbolColor = colorOr(symbol.hexColor, white);
                   },
                   [&](const TileIcon::Custom& custom) {
                       state.iconKind = IconKind::custom;
                       state.customIconFileName = custom.fileName;
                   },
                   [&](const TileIcon::Builder& builder) {
                       state.iconKind = IconKind::builder;
                       state.builderColor = colorOr(builder.bgHex, systemBlue);
                       state.builderIconName = builder.iconName;
                   },
               },
               tile.icon.value);
    return state;
}

void EditorState::setAction(const std::optional<TileAction>& action)
{
    if (!action) {
        kind = ActionKind::empty;
        return;
    }
    using A = TileAction;
    std::visit(Overloaded{
                   [&](const A::LaunchApp& a) {
                       kind = ActionKind::app;
                       appPath = a.path;
                   },
                   [&](const A::OpenFile& a) {
                       kind = ActionKind::file;
                       filePath = a.path;
                   },
                   [&](const A::OpenURL& a) {
                       kind = ActionKind::url;
                       urlString = a.urlString;
                   },
                   [&](const A::PlayPlaylist& a) {
                       kind = ActionKind::playlist;
                       playlistName = a.name;
                   },
                   [&](const A::PlayAlbum& a) {
                       kind = ActionKind::album;
                       albumKey = AlbumEntry{a.name, a.artist}.key();
                   },
                   [&](const A::NowPlaying&) { kind = ActionKind::nowPlaying; },
                   [&](const A::RunSystemAction& a) {
                       kind = ActionKind::system;
                       systemAction = a.action;
                   },
                   [&](const A::RunShortcut& a) {
                       kind = ActionKind::shortcut;
                       shortcutName = a.name;
                   },
                   [&](const A::RunScript& a) {
                       kind = ActionKind::script;
                       scriptSource = a.source;
                       scriptIsAppleScript = a.isAppleScript;
                   },
                   [&](const A::Sequence& a) {
                       kind = ActionKind::scene;
                       sceneSteps = a.steps;
                   },
                   [&](const A::ConnectBluetooth& a) {
                       kind = ActionKind::bluetooth;
                       bluetoothAddress = a.address;
                       bluetoothName = a.name;
                   },
                   [&](const A::AudioOutput& a) {
                       kind = ActionKind::audioOutput;
                       outputUID = a.deviceUID;
                       outputName = a.name;
                   },
                   [&](const A::Snippet& a) {
                       kind = ActionKind::snippet;
                       snippetText = a.text;
                   },
               },
               action->value);
}

std::optional<TileAction> EditorState::builtAction() const
{
    using A = TileAction;
    const auto when = [](bool present, A::Value value) -> std::optional<TileAction> {
        if (!present)
            return std::nullopt;
        return TileAction{std::move(value)};
    };
    switch (kind) {
    case ActionKind::empty:
        return std::nullopt;
    case ActionKind::app:
        return when(!appPath.isEmpty(), A::LaunchApp{appPath});
    case ActionKind::file:
        return when(!filePath.isEmpty(), A::OpenFile{filePath});
    case ActionKind::url:
        return when(!urlString.isEmpty() && urlString != QStringView(untouchedUrl), A::OpenURL{urlString});
    case ActionKind::playlist:
        return when(!playlistName.isEmpty(), A::PlayPlaylist{playlistName});
    case ActionKind::album: {
        const AlbumEntry album = AlbumEntry::fromKey(albumKey);
        return when(!album.name.isEmpty(), A::PlayAlbum{album.name, album.artist});
    }
    case ActionKind::nowPlaying:
        return TileAction{A::NowPlaying{}};
    case ActionKind::system:
        return TileAction{A::RunSystemAction{systemAction}};
    case ActionKind::bluetooth:
        return when(!bluetoothAddress.isEmpty(), A::ConnectBluetooth{bluetoothAddress, bluetoothName});
    case ActionKind::audioOutput:
        return when(!outputUID.isEmpty(), A::AudioOutput{outputUID, outputName});
    case ActionKind::snippet:
        return when(!snippetText.isEmpty(), A::Snippet{snippetText});
    case ActionKind::shortcut:
        return when(!shortcutName.isEmpty(), A::RunShortcut{shortcutName});
    case ActionKind::script:
        return when(!scriptSource.isEmpty(), A::RunScript{scriptSource, scriptIsAppleScript});
    case ActionKind::scene:
        return when(!sceneSteps.empty(), A::Sequence{sceneSteps});
    }
    return std::nullopt;
}

TileIcon EditorState::builtIcon() const
{
    switch (iconKind) {
    case IconKind::automatic:
        break;
    case IconKind::symbol:
        if (!symbolName.isEmpty())
            return {TileIcon::Symbol{symbolName, colorOr(symbolColor, white)}};
        break;
    case IconKind::custom:
        if (customIconFileName)
            return {TileIcon::Custom{*customIconFileName}};
        break;
    case IconKind::builder:
        if (!builderIconName.isEmpty())
            return {TileIcon::Builder{colorOr(builderColor, systemBlue), builderIconName}};
        break;
    }
    return {TileIcon::Auto{}};
}

QString EditorState::labelPlaceholder(const ApplicationNames& names) const
{
    const std::optional<TileAction> action = builtAction();
    return action ? action->defaultLabel(names) : QStringLiteral("Label");
}

void EditorState::save(TileStore& store) const
{
    Tile tile = store.tile(page, index);
    tile.label = label;
    tile.action = builtAction();
    tile.icon = builtIcon();
    store.set(tile, page, index);
    store.fetchArtworkIfNeeded(page, index);
}

void EditorState::applyPreset(const TilePreset& preset)
{
    setAction(preset.action);
    label = preset.label;
    if (const auto* builder = preset.icon.as<TileIcon::Builder>()) {
        iconKind = IconKind::builder;
        builderColor = colorOr(builder->bgHex, systemBlue);
        builderIconName = builder->iconName;
    }
}

std::vector<AlbumEntry> EditorState::albumMatches() const
{
    const QString query = albumSearch.trimmed();
    if (query.isEmpty())
        return {};
    std::vector<AlbumEntry> matches;
    std::copy_if(albums.begin(), albums.end(), std::back_inserter(matches), [&](const AlbumEntry& album) {
        return album.name.contains(query, Qt::CaseInsensitive) ||
               album.artist.contains(query, Qt::CaseInsensitive);
    });
    const QString lowerQuery = query.toLower();
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(matches.begin(), matches.end(), [&](const AlbumEntry& a, const AlbumEntry& b) {
        const bool aPrefix = a.name.toLower().startsWith(lowerQuery);
        const bool bPrefix = b.name.toLower().startsWith(lowerQuery);
        if (aPrefix != bPrefix)
            return aPrefix;
        return collator.compare(a.name, b.name) < 0;
    });
    if (matches.size() > static_cast<std::size_t>(maxAlbumMatches))
        matches.resize(maxAlbumMatches);
    return matches;
}

void EditorState::saveStep(const TileAction& step, std::optional<int> at)
{
    if (at && isStep(sceneSteps, *at))
        sceneSteps[static_cast<std::size_t>(*at)] = step;
    else
        sceneSteps.push_back(step);
}

void EditorState::moveStepUp(int at)
{
    if (isStep(sceneSteps, at) && at > 0)
        std::swap(sceneSteps[static_cast<std::size_t>(at)], sceneSteps[static_cast<std::size_t>(at - 1)]);
}

void EditorState::moveStepDown(int at)
{
    if (isStep(sceneSteps, at + 1) && at >= 0)
        std::swap(sceneSteps[static_cast<std::size_t>(at)], sceneSteps[static_cast<std::size_t>(at + 1)]);
}

void EditorState::removeStep(int at)
{
    if (isStep(sceneSteps, at))
        sceneSteps.erase(sceneSteps.begin() + at);
}

std::optional<QString> EditorState::normalisedColor(const QString& text)
{
    const std::optional<quint32> rgb = ColorText::rgb(text);
    if (!rgb)
        return std::nullopt;
    return ColorText::text(*rgb);
}
