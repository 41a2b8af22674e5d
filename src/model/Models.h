#pragma once

#include "model/ApplicationNames.h"
#include "model/SystemAction.h"

#include <QString>
#include <QUuid>
#include <optional>
#include <variant>
#include <vector>

// How a tile's icon is chosen.
struct TileIcon {
    // Derived from the action: application or file icon, Music artwork, or a fixed symbol per action kind.
    struct Auto {
        bool operator==(const Auto&) const = default;
    };
    // A system symbol tinted with a "#RRGGBB" colour.
    struct Symbol {
        QString name;
        QString hexColor;
        bool operator==(const Symbol&) const = default;
    };
    // An image file, by bare file name, in the icons folder.
    struct Custom {
        QString fileName;
        bool operator==(const Custom&) const = default;
    };
    // A glyph of the icon font on a plate of a "#RRGGBB" colour.
    struct Builder {
        QString bgHex;
        QString iconName;
        bool operator==(const Builder&) const = default;
    };

    std::variant<Auto, Symbol, Custom, Builder> value;

    [[nodiscard]] bool isAuto() const { return std::holds_alternative<Auto>(value); }
    template <typename Case>
    [[nodiscard]] const Case* as() const
    {
        return std::get_if<Case>(&value);
    }
    bool operator==(const TileIcon&) const = default;
};

// What a tile press does. The cases and their payload fields carry the names the layout file uses.
struct TileAction {
    struct LaunchApp {
        QString path;
        bool operator==(const LaunchApp&) const = default;
    };
    struct OpenFile {
        QString path;
        bool operator==(const OpenFile&) const = default;
    };
    struct OpenURL {
        QString urlString;
        bool operator==(const OpenURL&) const = default;
    };
    struct PlayPlaylist {
        QString name;
        bool operator==(const PlayPlaylist&) const = default;
    };
    struct PlayAlbum {
        QString name;
        QString artist;
        bool operator==(const PlayAlbum&) const = default;
    };
    struct NowPlaying {
        bool operator==(const NowPlaying&) const = default;
    };
    struct RunSystemAction {
        SystemAction action = SystemAction::volumeUp;
        bool operator==(const RunSystemAction&) const = default;
    };
    struct RunShortcut {
        QString name;
        bool operator==(const RunShortcut&) const = default;
    };
    struct RunScript {
        QString source;
        bool isAppleScript = false;
        bool operator==(const RunScript&) const = default;
    };
    // A scene: the steps run one after another; a step may be any action, a scene included.
    struct Sequence {
        std::vector<TileAction> steps;
        bool operator==(const Sequence&) const = default;
    };
    struct ConnectBluetooth {
        QString address;
        QString name;
        bool operator==(const ConnectBluetooth&) const = default;
    };
    struct AudioOutput {
        QString deviceUID;
        QString name;
        bool operator==(const AudioOutput&) const = default;
    };
    struct Snippet {
        QString text;
        bool operator==(const Snippet&) const = default;
    };

    using Value =
        std::variant<LaunchApp, OpenFile, OpenURL, PlayPlaylist, PlayAlbum, NowPlaying, RunSystemAction,
                     RunShortcut, RunScript, Sequence, ConnectBluetooth, AudioOutput, Snippet>;
    Value value;

    template <typename Case>
    [[nodiscard]] const Case* as() const
    {
        return std::get_if<Case>(&value);
    }

    // The label a tile of this action would naturally carry, applications named as `names` says.
    [[nodiscard]] QString defaultLabel(const ApplicationNames& names) const;
    // A one-line description for the tile's tooltip.
    [[nodiscard]] QString tooltipDescription(const ApplicationNames& names) const;

    bool operator==(const TileAction&) const = default;
};

// One slot of the deck. A tile without an action is an empty slot.
struct Tile {
    QUuid id = QUuid::createUuid();
    QString label;
    TileIcon icon;
    std::optional<TileAction> action;

    [[nodiscard]] bool isEmpty() const { return !action.has_value(); }
    // What the tile's tooltip shows: the label, or else the action's description. Empty tiles show none.
    [[nodiscard]] std::optional<QString> tooltipText(const ApplicationNames& names) const;

    bool operator==(const Tile&) const = default;
};

using Page = std::vector<Tile>;
using Pages = std::vector<Page>;

// The tiles of the pages that do something, empty slots left out.
[[nodiscard]] int actionTileCount(const Pages& pages);
