#pragma once

#include "commands/DeckChannel.h"
#include "commands/DeckLevelCommands.h"
#include "commands/DeckRemote.h"
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

#include <QObject>
#include <QPointer>
#include <memory>

class ChameleonEngine;
class DeckControlServer;
class DeckView;
class DeckHotKeys;
class DeckServices;
class DesktopPanelController;
class BandCustomizeWindow;
class EditorWindowController;
class FocusSetupWindowController;
class FileIcons;
class FirstPaint;
class HotKeyCenter;
class MainMenu;
class PanelRootView;
class QSystemTrayIcon;
class QtPanelDesktop;
class SettingsWindowController;
class SaveProblemNotice;
class ShortcutSetupFlow;
class StatusMenu;
class TileActivation;
class WindowStacking;

// The deck program's shell: starts the deck in its fixed order, owns the panel and its state, what draws the
// tiles' icons, the status menu and the channel `marquetto-deck` talks through, and answers a second launch
// by summoning the deck. Everything else it takes from the process's `DeckServices`.
//
// Main thread only.
class AppDelegate final : public QObject, public DeckRemote {
    Q_OBJECT
public:
    explicit AppDelegate(DeckServices& services, QObject* parent = nullptr);
    ~AppDelegate() override;

    void applicationDidFinishLaunching();
    void applicationShouldHandleReopen();
    // Offers to make the deck file the deck, as "Import Deck…" does once a file is chosen.
    void openDeckFile(const QString& path);
    [[nodiscard]] DeckChannel::Response handle(const DeckChannel::Request& request);

    [[nodiscard]] QJsonObject state() const override;
    [[nodiscard]] QJsonObject band() const override;
    void toggleSummon() override;
    bool fire(int index) override;
    void setEditing(bool editing) override;
    void openSettings(const QString& tab) override;

    void toggleEditMode();
    void togglePin();
    void toggleCompact();
    void restartApp();
    // Opens the tile editor on the slot, for a click in edit mode, on an empty tile or on "Edit Tile…".
    void openEditor(int page, int index);
    // The icon clean-up's timer handler, some seconds after launch: unless another deck may be using the
    // icon files, it removes the unused ones off the main thread.
    void cleanUpIcons();

private:
    [[nodiscard]] QWidget* makeContent(bool translucent);
    void setUpStatusItem();
    void carryStatusItems(DeckView& deck);
    // The hot keys and the tracking of the frontmost window, once the deck is on screen.
    void startAfterFirstPaint();
    void startServer();
    // Cloud sync: its hooks into the deck, then its start if the user switched it on.
    void startCloudDeck();
    // "Sync Deck…": switching on first asks for the synced folder when there is none.
    void switchCloudDeck(bool on);
    // Starts or stops the wallpaper tint as the "chameleonGlass" preference says.
    void followChameleonGlass(bool on);
    void makeSettingsWindow();
    // The deck-level commands as the settings window runs them: its backups list is read again after a
    // restore or an import.
    [[nodiscard]] DeckCommands::DeckParts settingsDeckParts();

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
    std::unique_ptr<FirstPaint> m_afterFirstPaint;
    std::unique_ptr<HotKeyCenter> m_hotKeyCenter;
    std::unique_ptr<DeckHotKeys> m_hotKeys;
    std::unique_ptr<MainMenu> m_mainMenu;
    std::unique_ptr<StatusMenu> m_statusMenu;
    // Tells the user when the layout cannot be written.
    std::unique_ptr<SaveProblemNotice> m_saveNotice;
    QSystemTrayIcon* m_tray = nullptr;
    // The content of the deck's window, remade when the window is.
    QPointer<PanelRootView> m_root;
    DeckControlServer* m_server = nullptr;
    std::unique_ptr<EditorWindowController> m_editor;
    std::unique_ptr<BandCustomizeWindow> m_bandCustomize;
    std::unique_ptr<FocusSetupWindowController> m_focusSetup;
    // Offers to set up the desktop's own shortcuts where the deck's keys cannot be grabbed.
    std::unique_ptr<ShortcutSetupFlow> m_shortcutSetup;
    std::unique_ptr<ChameleonEngine> m_chameleon;
    QtDeckFilePanels m_filePanels;
    DeckCommands::DeckParts m_deckCommands;
    std::unique_ptr<SettingsWindowController> m_settingsWindow;
};
