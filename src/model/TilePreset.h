#pragma once

#include "model/Models.h"

#include <QString>
#include <optional>

// One ready-made tile of the tile library: what the editor receives when the user picks it. Immutable.
struct TilePreset {
    // Stable, kebab-case.
    QString id;
    QString name;
    // One sentence shown under the name.
    QString blurb;
    // One of the library's categories.
    QString category;
    TileAction action;
    // Always the builder form.
    TileIcon icon;
    // The label the tile gets; the same text as the name.
    QString label;
    // A one-line warning about a permission prompt the action causes.
    std::optional<QString> permissionNote;
    // The programs the action hands its work to, separated by spaces, when this machine may lack them; empty
    // when it needs none. A preset whose program is missing is offered dimmed.
    QString requiredProgram;
};
