#pragma once

#include "commands/DeckLevelCommands.h"
#include "deck/DealEngine.h"
#include "deck/EditMode.h"
#include "deck/PanelChrome.h"
#include "deck/QtFrameClock.h"
#include "deck/TileTooltip.h"
#include "icons/IconFinish.h"
#include "icons/IconResolver.h"
#include "platform/qt/QtDeckFilePanels.h"
#include "ui/deck/NowPlayingArtwork.h"
#include "ui/paint/PhosphorFont.h"
#include "ui/paint/SymbolCatalogue.h"
#include "ui/settings/ShortcutsWindow.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <memory>
#include <optional>
#include <vector>

class BandCustomizeWindow;
class ChameleonEngine;
class DeckHotKeys;
class DeckServices;
class DeckView;
class DesktopPanelController;
class EditorWindowController;
class FileIcons;
class FocusSetupWindowController;
class HotKeyCenter;
class MainMenu;
class PanelRootView;
class QSystemTrayIcon;
class QtPanelDesktop;
class SaveProblemNotice;
class SettingsWindowController;
class ShortcutSetupFlow;
class StatusMenu;
class TileActivation;
class WindowStacking;

// The root of the deck's views: owns what draws the tiles (icons, font, symbols), the panel and its state
// (chrome, edit mode, hover, the deal), every window (editor, band customising, Focus set-up, settings,
// shortcuts), the hot keys, menus and tray. Its parts come from the process's `DeckServices`.
//
// Main thread only.
class DeckUi final : public QObject {
    Q_OBJECT
public:
    explicit DeckUi(DeckServices& services, QObject* parent = nullptr);
    ~DeckUi() override;

    // Shows the deck, dealing its tiles in.
    void showDeck();
    // What waits for the first paint: the tray, the main menu, the hot keys and the wallpaper tint.
    void startMenusAndKeys();
    // Reads the symbol map ahead of the first picker.
    void warmUpSymbols();
    // Cloud sync's hooks into the deck, then its start if the user switched it on.
    void startCloudDeck();
    void summon();
    void toggleSummon();
    // Runs the tile at `index` of the current page, once the caller has returned; false for an empty slot.
    bool fire(int index);
    void setEditing(bool editing);
    void openSettings(const QString& tab);
    // Offers to make the deck file the deck, as "Import Deck…" does once a file is chosen.
    void importDeckFile(const QString& path);

    // What the companion's state reads.
    struct Slot {
        int page = 0;
        int index = 0;
    };
    [[nodiscard]] const DesktopPanelController& panel() const { return *m_panel; }
    // The deck window's frame in Qt's screen coordinates, while there is a window.
    [[nodiscard]] std::optional<QRect> frame() const;
    [[nodiscard]] const PanelChromeState& chrome() const { return m_chrome; }
    [[nodiscard]] const EditModeState& editMode() const { return m_editMode; }
    [[nodiscard]] bool isDealing() const;
    [[nodiscard]] std::vector<int> litSlots() const;
    // The page and slot the tile editor is open on.
    [[nodiscard]] std::optional<Slot> editorSlot() const;
    [[nodiscard]] bool isSettingsOpen() const;
    [[nodiscard]] QString settingsTab() const;
    // Whether the hot keys are made yet: only after the first paint.
    [[nodiscard]] bool hasHotKeys() const { return m_hotKeyCenter != nullptr; }
    [[nodiscard]] QString saveProblem() const;

private:
    [[nodiscard]] QWidget* makeContent(bool translucent);
    void makeSettingsWindow();
    // The deck-level commands as the settings window runs them: its backups list is read again after a
    // restore or an import.
    [[nodiscard]] DeckCommands::DeckParts settingsDeckParts();
    void setUpStatusItem();
    void carryStatusItems(DeckView& deck);
    // "Sync Deck…": switching on first asks for the synced folder when there is none.
    void switchCloudDeck(bool on);
    // Starts or stops the wallpaper tint as the "chameleonGlass" preference says.
    void followChameleonGlass(bool on);
    void openEditor(int page, int index);
    void restartApp();

    DeckServices& m_services;
    std::unique_ptr<FileIcons> m_fileIcons;
    IconResolver m_icons;
    IconFinish m_finish;
    PhosphorFont m_font = PhosphorFont::fromResources();
    SymbolCatalogue m_symbols{SymbolCatalogue::againstResources()};
    PanelChromeState m_chrome;
    EditModeState m_editMode;
    TileHoverState m_hover;
    QtFrameClock m_frames;
    NowPlayingArtwork m_artwork;
    DealEngine m_deal;
    std::unique_ptr<WindowStacking> m_stacking;
    std::unique_ptr<QtPanelDesktop> m_desktop;
    std::unique_ptr<DesktopPanelController> m_panel;
    std::unique_ptr<TileActivation> m_activation;
    std::unique_ptr<HotKeyCenter> m_hotKeyCenter;
    std::unique_ptr<DeckHotKeys> m_hotKeys;
    std::unique_ptr<MainMenu> m_mainMenu;
    std::unique_ptr<StatusMenu> m_statusMenu;
    // Tells the user when the layout cannot be written.
    std::unique_ptr<SaveProblemNotice> m_saveNotice;
    QSystemTrayIcon* m_tray = nullptr;
    // The content of the deck's window, remade when the window is.
    QPointer<PanelRootView> m_root;
    std::unique_ptr<EditorWindowController> m_editor;
    std::unique_ptr<BandCustomizeWindow> m_bandCustomize;
    std::unique_ptr<FocusSetupWindowController> m_focusSetup;
    // Offers to set up the desktop's own shortcuts where the deck's keys cannot be grabbed.
    std::unique_ptr<ShortcutSetupFlow> m_shortcutSetup;
    ShortcutsWindowController m_shortcuts;
    std::unique_ptr<ChameleonEngine> m_chameleon;
    QtDeckFilePanels m_filePanels;
    DeckCommands::DeckParts m_deckCommands;
    std::unique_ptr<SettingsWindowController> m_settingsWindow;
};
