#pragma once

#include "actions/ActionRunnerSource.h"

#include <QObject>
#include <functional>

class ActionRunner;
class ClickSound;
class DeckSettings;
class DesktopPanelController;
class EditModeState;
class TileStore;
struct Tile;

// The one way a tile of the deck is run: by a click on it, by its numbered hot key or from the command line.
//
// Main thread only. `editorRequested` fires when a click asks for a tile to be edited: in edit mode, or on an
// empty tile; `actionRan` after a tile's action was started, so that what shows its effect can look again.
class TileActivation final : public QObject {
    Q_OBJECT
public:
    static constexpr double clickVolume = 0.4;

    struct Services {
        TileStore& store;
        DeckSettings& settings;
        EditModeState& editMode;
        ActionRunnerSource runner;
        ClickSound& clickSound;
        DesktopPanelController& panel;
        // Whether the tile may run now; a tile it refuses is not run.
        std::function<bool(const Tile&)> mayRun = [](const Tile&) { return true; };
    };

    explicit TileActivation(Services services, QObject* parent = nullptr);

    // A click on the tile at (page, index).
    void activate(int page, int index);
    // Runs the tile's action and sends a summoned deck back to the desktop, without sound and whatever the
    // edit mode. False, with nothing done, for an empty tile, a slot that does not exist or a tile that may
    // not run.
    bool run(int page, int index);

Q_SIGNALS:
    void editorRequested(int page, int index);
    void actionRan();

private:
    Services m_services;
};
