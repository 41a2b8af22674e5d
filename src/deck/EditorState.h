#pragma once

#include "deck/EditorKinds.h"
#include "model/AlbumEntry.h"
#include "model/Models.h"

#include <QString>
#include <optional>
#include <vector>

class TileStore;
struct TilePreset;

// The tile editor's working copy of one slot: the chosen kind of action with the fields of every kind, the
// label and the icon form with its fields. Nothing reaches the store before `save`. Fields of kinds other
// than the chosen one are kept, so switching kinds back and forth loses nothing.
//
// Colours are "#RRGGBB" texts; a text that is no colour counts as the form's fallback colour (white for a
// symbol, the system blue for a builder plate).
struct EditorState {
    static constexpr auto untouchedUrl = u"https://";
    static constexpr auto initialBuilderColor = u"#025BFF";
    static constexpr auto systemBlue = u"#007AFF";
    static constexpr auto white = u"#FFFFFF";
    // The most albums a search lists.
    static constexpr int maxAlbumMatches = 12;

    int page = 0;
    int index = 0;
    QString label;
    ActionKind kind = ActionKind::empty;

    QString appPath;
    QString filePath;
    QString urlString = QString::fromUtf16(untouchedUrl);
    QString playlistName;
    QString shortcutName;
    QString scriptSource;
    bool scriptIsAppleScript = false;
    // The album name, the separator, the album artist (AlbumEntry::key).
    QString albumKey;
    SystemAction systemAction = SystemAction::volumeUp;
    QString bluetoothAddress;
    QString bluetoothName;
    QString outputUID;
    QString outputName;
    QString snippetText;
    std::vector<TileAction> sceneSteps;

    IconKind iconKind = IconKind::automatic;
    QString symbolName;
    QString symbolColor = QString::fromUtf16(white);
    std::optional<QString> customIconFileName;
    QString builderColor = QString::fromUtf16(initialBuilderColor);
    QString builderIconName;

    // The loaded albums and the text searched among them.
    std::vector<AlbumEntry> albums;
    QString albumSearch;

    // The slot's tile as the editor starts from it.
    [[nodiscard]] static EditorState fromTile(const Tile& tile, int page, int index);

    // Sets the kind and that kind's fields from the action (`empty` for none); other fields are untouched.
    void setAction(const std::optional<TileAction>& action);
    // The action the chosen kind and its fields describe; none when a required field is empty.
    [[nodiscard]] std::optional<TileAction> builtAction() const;
    // The icon the chosen form and its fields describe; the automatic icon when the form lacks its name or
    // file.
    [[nodiscard]] TileIcon builtIcon() const;
    // The label field's placeholder: the label the built action would get by default, or "Label".
    [[nodiscard]] QString labelPlaceholder(const ApplicationNames& names) const;

    // Writes the slot's tile, keeping its identity: the label as typed, the built action and icon. Then asks
    // the store for the tile's artwork.
    void save(TileStore& store) const;

    // Takes the preset's action and label; its icon too when it is a builder plate.
    void applyPreset(const TilePreset& preset);

    // The albums whose name or artist contains the trimmed search text, ignoring case: those whose name
    // begins with it first, each group by name; at most `maxAlbumMatches`. None for a blank search.
    [[nodiscard]] std::vector<AlbumEntry> albumMatches() const;

    // Puts a step of the scene in place of the step at `at` when that is within the list, else at the end.
    void saveStep(const TileAction& step, std::optional<int> at);
    // Swap the step with its neighbour; nothing at the ends or outside the list.
    void moveStepUp(int at);
    void moveStepDown(int at);
    void removeStep(int at);

    // The colour text in normal form ("#RRGGBB", upper case), or nothing when it is no colour.
    [[nodiscard]] static std::optional<QString> normalisedColor(const QString& text);
};
