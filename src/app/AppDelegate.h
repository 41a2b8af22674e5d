#pragma once

#include "actions/MusicBridge.h"
#include "cli/DeckChannel.h"
#include "cli/DeckTool.h"
#include "model/StarterHint.h"
#include "panel/EditMode.h"
#include "panel/PanelChrome.h"
#include "panel/QtFrameClock.h"
#include "panel/TileTooltip.h"

#include <QObject>
#include <memory>

class DeckControlServer;
class DeckHotKeys;
class DesktopPanelController;
class HotKeyCenter;
class MainMenu;
class QSystemTrayIcon;
class QtPanelDesktop;
class StatusMenu;
class TileActivation;
class WindowStacking;
struct AppPaths;

// The deck program's shell: starts the deck in its fixed order, owns the panel and its state, the status menu
// and the channel `marquetto-deck` talks through, and answers a second launch by summoning the deck.
//
// Main thread only.
class AppDelegate final : public QObject, public DeckRemote {
    Q_OBJECT
public:
    explicit AppDelegate(const AppPaths& paths, QObject* parent = nullptr);
    ~AppDelegate() override;

    void applicationDidFinishLaunching();
    void applicationShouldHandleReopen();
    [[nodiscard]] DeckChannel::Response handle(const DeckChannel::Request& request);

    [[nodiscard]] QJsonObject state() const override;
    void toggleSummon() override;
    bool fire(int index) override;

    void toggleEditMode();
    void togglePin();
    void toggleCompact();
    void restartApp();

private:
    [[nodiscard]] QWidget* makeContent(bool translucent);
    void setUpStatusItem();
    void startServer(const AppPaths& paths);

    PanelChromeState m_chrome;
    EditModeState m_editMode;
    TileHoverState m_hover;
    StarterHint m_starterHint;
    QtFrameClock m_frames;
    NullMusicBridge m_music;
    std::unique_ptr<WindowStacking> m_stacking;
    std::unique_ptr<QtPanelDesktop> m_desktop;
    std::unique_ptr<DesktopPanelController> m_panel;
    std::unique_ptr<TileActivation> m_activation;
    std::unique_ptr<HotKeyCenter> m_hotKeyCenter;
    std::unique_ptr<DeckHotKeys> m_hotKeys;
    std::unique_ptr<MainMenu> m_mainMenu;
    std::unique_ptr<StatusMenu> m_statusMenu;
    QSystemTrayIcon* m_tray = nullptr;
    DeckControlServer* m_server = nullptr;
};
