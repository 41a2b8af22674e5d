#pragma once

#include <QObject>
#include <functional>
#include <memory>

class AlertPresenter;
class EditModeState;
class MusicBridge;
class QMenu;
class ShortcutSetupFlow;
class TileStore;

// The deck's two context menus, built anew for each right-click, and the alert that guards deleting a page.
// The actions of a menu act when triggered.
//
// Main thread only. `editTileRequested` fires when "Edit Tile…" is chosen, `exportDeckRequested` and
// `importDeckRequested` when "Export Deck…" and "Import Deck…" are.
class DeckMenus final : public QObject {
    Q_OBJECT
public:
    struct Services {
        TileStore& store;
        EditModeState& editMode;
        MusicBridge& music;
        AlertPresenter& alerts;
    };

    explicit DeckMenus(Services services, QObject* parent = nullptr);

    // Appends further items to each deck menu, after a separator; called on every new deck menu.
    void setExtraItems(std::function<void(QMenu& menu)> append) { m_extraItems = std::move(append); }
    // Adds the checkable "Sync Deck…" item: checked while `isOn` answers true; choosing it calls `setOn`
    // with the opposite.
    void setSyncDeck(std::function<bool()> isOn, std::function<void(bool on)> setOn)
    {
        m_syncIsOn = std::move(isOn);
        m_setSync = std::move(setOn);
    }

    // Adds the items of setting up the desktop's own keyboard shortcuts, when the flow offers them; `flow`
    // outlives the menus.
    void setShortcutSetup(ShortcutSetupFlow* flow) { m_shortcutSetup = flow; }

    // The menu of a tile: the music transport on a Now Playing tile, editing and clearing the tile.
    [[nodiscard]] std::unique_ptr<QMenu> tileMenu(int page, int index);
    // The menu of the deck outside the tiles: edit mode, the pages and the deck file.
    [[nodiscard]] std::unique_ptr<QMenu> deckMenu();
    // Deletes the current page, after asking when it holds configured tiles.
    void confirmDeleteCurrentPage();

Q_SIGNALS:
    void editTileRequested(int page, int index);
    void exportDeckRequested();
    void importDeckRequested();

private:
    Services m_services;
    std::function<void(QMenu&)> m_extraItems;
    std::function<bool()> m_syncIsOn;
    std::function<void(bool)> m_setSync;
    ShortcutSetupFlow* m_shortcutSetup = nullptr;
};
