#include "app/DeckUi.h"

#include "actions/ActionRunner.h"
#include "actions/NowPlaying.h"
#include "actions/TileState.h"
#include "app/Restart.h"
#include "app/StatusMenu.h"
#include "app/TrayIcon.h"
#include "band/BandEngines.h"
#include "band/FocusEngine.h"
#include "commands/DeckCommands.h"
#include "deck/DesktopPanel.h"
#include "deck/HotKeys.h"
#include "deck/SaveProblemNotice.h"
#include "deck/TileActivation.h"
#include "icons/IconVetting.h"
#include "model/Settings.h"
#include "model/TileStore.h"
#include "platform/FileIcons.h"
#include "platform/HotKeys.h"
#include "platform/ShortcutSetupFlow.h"
#include "services/DeckServices.h"
#include "sync/CloudDeck.h"
#include "ui/deck/Chameleon.h"
#include "ui/deck/DeckWindow.h"
#include "ui/deck/PanelRootView.h"
#include "ui/editor/BandCustomizeWindow.h"
#include "ui/editor/EditorWindowController.h"
#include "ui/editor/FocusSetupWindowController.h"
#include "ui/settings/CloudFolderDialog.h"
#include "ui/settings/FeedbackView.h"
#include "ui/settings/MainMenu.h"
#include "ui/settings/SettingsView.h"
#include "ui/settings/SettingsWindow.h"
#include "ui/settings/ShortcutsWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>

namespace {

std::optional<QString> chooseFeedbackFile(const QString& suggestedName)
{
    const QString path = QFileDialog::getSaveFileName(
        QApplication::activeWindow(), QStringLiteral("Save Feedback"), QDir::home().filePath(suggestedName),
        QStringLiteral("Text (*.txt);;All Files (*)"));
    return path.isEmpty() ? std::nullopt : std::optional(path);
}

} // namespace

DeckUi::DeckUi(DeckServices& services, QObject* parent)
    : QObject(parent)
    , m_services(services)
    , m_fileIcons(createFileIcons(services.paths()))
    , m_icons(services.paths().iconsDir(), *m_fileIcons, services.clock())
    , m_editMode(services.store())
    , m_artwork(services.nowPlaying())
    , m_deal({services.settings(), services.clock(), services.reduceMotion()})
    , m_stacking(services.createWindowStacking())
    , m_editor(std::make_unique<EditorWindowController>(EditorView::Services{
          services.store(),
          services.settings(),
          services.starterHint(),
          services.tileLibrary(),
          {services.music(), services.processes(), services.audio(), services.bluetooth(),
           services.applicationNames(), services.installedApplications(), services.wordings()},
          services.paths().iconsDir(),
          {m_icons, m_finish, m_font},
          m_symbols}))
    , m_bandCustomize(std::make_unique<BandCustomizeWindow>(services.settings(), m_font, services.clock()))
    , m_focusSetup(std::make_unique<FocusSetupWindowController>(
          services.band().engine<FocusEngine>(BandModule::focus), m_font, services.workspace(),
          services.wordings(), PhosphorFont::resourcesDir()))
    , m_deckCommands{
          .store = services.store(),
          .settings = services.settings(),
          .starterHint = services.starterHint(),
          .clock = services.clock(),
          .alerts = services.alerts(),
          .panels = m_filePanels,
          .wordings = services.wordings(),
          .iconsDir = services.paths().iconsDir(),
          .vet = &IconVetting::vet,
          .fileWork = [&queue = services.cloudDeck().queue()](
                          std::function<void()> job) { queue.run(std::move(job)); },
          // A new window is built at the current grid, tile size and band; the old one closes.
          .rebuildPanel = [this] { m_panel->showPanel(); },
          .setLoginItem = [this](bool on) { return m_services.setLaunchAtLogin(on); },
          .canRestoreWindows = [this] { return m_services.windows().isAvailable(); },
      }
{
    m_desktop = std::make_unique<QtPanelDesktop>(
        *m_stacking, [this](bool translucent) { return makeContent(translucent); },
        [this] {
            return QSizeF(DeckView::geometryFor(m_services.settings(), m_services.store(),
                                                m_services.starterHint(), m_editMode)
                              .size());
        });
    m_panel = std::make_unique<DesktopPanelController>(DesktopPanelController::Services{
        m_services.settings(), m_services.preferences(), m_services.store(), m_editMode, m_chrome, *m_desktop,
        m_services.clock(), m_services.starterHint(), m_deal});
    m_desktop->setController(m_panel.get());
    m_activation = std::make_unique<TileActivation>(TileActivation::Services{
        m_services.store(), m_services.settings(), m_editMode,
        [this]() -> ActionRunner& { return m_services.runner(); }, m_services.clickSound(), *m_panel,
        [this](const Tile& tile) { return m_services.cloudDeck().mayRun(tile); }});
    connect(m_activation.get(), &TileActivation::editorRequested, this, &DeckUi::openEditor);
    // Lights follow what a tile did without waiting for the next poll.
    connect(m_activation.get(), &TileActivation::actionRan, &m_services.tileState(),
            &TileStateProvider::refreshSoon);
    m_hotKeys =
        std::make_unique<DeckHotKeys>(DeckHotKeys::Services{m_services.store(), *m_activation, *m_panel});
    connect(&m_services.settings(), &DeckSettings::chameleonGlassChanged, this,
            &DeckUi::followChameleonGlass);
    m_shortcutSetup = std::make_unique<ShortcutSetupFlow>(ShortcutSetupFlow::Services{
        .setup = m_services.keyboardShortcutSetup(),
        .alerts = m_services.alerts(),
        .companion = [this] { return m_services.companionProgram(); },
        // Only once the keys are made, after the first paint, is it known how they reach the deck.
        .offered =
            [this] {
                return m_hotKeyCenter &&
                       m_services.hotKeys().mechanism() == HotKeyMechanism::gnomeKeybindings;
            },
    });
    m_saveNotice = std::make_unique<SaveProblemNotice>(m_services.store(), m_services.alerts());
    makeSettingsWindow();
}

void DeckUi::makeSettingsWindow()
{
    using namespace DeckCommands;
    SettingsCommands commands{
        .setLaunchAtLogin = [this](bool on) { setLaunchAtLogin(m_deckCommands, on); },
        .setGrid = [this](int columns, int rows) { setGrid(m_deckCommands, columns, rows); },
        .setTileSize = [this](TileSizeOption size) { setTileSize(m_deckCommands, size); },
        .setShowBand = [this](bool show) { setShowBand(m_deckCommands, show); },
        .enableWindowRestore = [this] { enableWindowRestore(m_deckCommands); },
        .restoreBackup =
            [this](const LayoutBackups::BackupEntry& entry) {
                DeckParts parts = settingsDeckParts();
                restoreBackup(parts, entry);
            },
        .exportDeck = [this] { exportDeck(m_deckCommands); },
        .importDeck =
            [this] {
                DeckParts parts = settingsDeckParts();
                importDeck(parts);
            },
        .setCloudDeck = [this](bool on) { switchCloudDeck(on); },
        .chooseCloudFolder =
            [this] {
                if (const auto folder = chooseCloudFolder(m_settingsWindow->view(), m_services.paths().home))
                    m_services.settings().setCloudDeckFolder(*folder);
            },
        .showShortcuts =
            [this] {
                m_shortcuts.show(m_services.wordings(), m_mainMenu.get(),
                                 m_hotKeyCenter ? &m_services.hotKeys() : nullptr, m_shortcutSetup.get());
            },
        .customizeBand = [this] { m_bandCustomize->show(); },
        .seeDealNow = [this] { m_deal.preview([this] { m_panel->beginSummon(); }); },
        .previewTransition =
            [this] {
                m_panel->beginSummon();
                if (m_root)
                    m_root->deck().previewTransition();
            },
        .resetDeckPosition = [this] { m_panel->resetPosition(); },
    };
    m_settingsWindow = std::make_unique<SettingsWindowController>(SettingsParts{
        .settings = m_services.settings(),
        .cloud = m_services.cloudDeck(),
        .wordings = m_services.wordings(),
        .font = m_font,
        .launchesAtLogin = [this] { return m_services.launchesAtLogin(); },
        .canRestoreWindows = m_deckCommands.canRestoreWindows,
        .cloudDriveExists = [this] { return QFileInfo(m_services.settings().cloudDeckFolder()).isDir(); },
        .backups = [this] { return m_services.store().backups().availableBackups(); },
        .feedback =
            [this] {
                return new FeedbackView(
                    m_services.settings(),
                    {m_services.workspace(), QStringLiteral(MARQUETTO_FEEDBACK_EMAIL),
                     [](const QString& suggestedName) { return chooseFeedbackFile(suggestedName); }});
            },
        .commands = std::move(commands),
    });
}

DeckCommands::DeckParts DeckUi::settingsDeckParts()
{
    DeckCommands::DeckParts parts = m_deckCommands;
    parts.reloadBackups = [window = QPointer<SettingsWindowController>(m_settingsWindow.get())] {
        if (window)
            window->reloadBackups();
    };
    return parts;
}

DeckUi::~DeckUi() = default;

QWidget* DeckUi::makeContent(bool translucent)
{
    auto* root = new PanelRootView(
        {{m_services.store(), m_services.settings(), m_services.applicationNames(), m_services.starterHint(),
          m_editMode, m_hover, m_icons, m_finish, m_font, m_services.music(), m_services.alerts(), m_frames,
          m_deal, m_services.tileState(), m_artwork, m_services.band(), m_services.wordings()},
         m_chrome},
        translucent);
    connect(&root->deck(), &DeckView::tileActivated, m_activation.get(), &TileActivation::activate);
    connect(&root->deck(), &DeckView::editTileRequested, this, &DeckUi::openEditor);
    connect(&root->deck(), &DeckView::customizeBandRequested, m_bandCustomize.get(),
            &BandCustomizeWindow::show);
    connect(&m_services.band(), &BandEngines::focusSetupRequested, m_focusSetup.get(),
            &FocusSetupWindowController::show, Qt::UniqueConnection);
    // Queued: an import may rebuild the panel, which removes the menu that asked for it.
    connect(
        &root->deck().menus(), &DeckMenus::exportDeckRequested, this,
        [this] { DeckCommands::exportDeck(m_deckCommands); }, Qt::QueuedConnection);
    connect(
        &root->deck().menus(), &DeckMenus::importDeckRequested, this,
        [this] { DeckCommands::importDeck(m_deckCommands); }, Qt::QueuedConnection);
    root->deck().menus().setSyncDeck([this] { return m_services.cloudDeck().isOn(); },
                                     [this](bool on) { switchCloudDeck(on); });
    root->deck().menus().setShortcutSetup(m_shortcutSetup.get());
    m_root = root;
    if (m_statusMenu && !m_tray)
        carryStatusItems(root->deck());
    return root;
}

void DeckUi::carryStatusItems(DeckView& deck)
{
    // Without a tray, the deck's own menu carries the status menu's items.
    deck.menus().setExtraItems([status = m_statusMenu.get()](QMenu& menu) { status->showIn(menu); });
}

void DeckUi::switchCloudDeck(bool on)
{
    DeckSettings& settings = m_services.settings();
    if (on && !QFileInfo(settings.cloudDeckFolder()).isDir()) {
        const std::optional<QString> folder = chooseCloudFolder(nullptr, m_services.paths().home);
        if (!folder)
            return;
        settings.setCloudDeckFolder(*folder);
    }
    m_services.cloudDeck().setCloudDeck(on);
}

void DeckUi::followChameleonGlass(bool on)
{
    if (!on) {
        if (m_chameleon)
            m_chameleon->stop();
        return;
    }
    if (!m_chameleon) {
        // Made on first use: finding the wallpaper opens a display connection of its own.
        m_chameleon = std::make_unique<ChameleonEngine>(
            ChameleonEngine::Services{m_services.wallpaper(), []() -> std::optional<QString> {
                                          const QScreen* screen = QGuiApplication::primaryScreen();
                                          return screen ? std::optional(screen->name()) : std::nullopt;
                                      }});
        connect(m_chameleon.get(), &ChameleonEngine::tintChanged, this,
                [this] { m_chrome.setTint(m_chameleon->tint()); });
    }
    m_chameleon->start();
}

void DeckUi::setUpStatusItem()
{
    StatusMenu::Handlers handlers{
        .toggleSummon = [this] { toggleSummon(); },
        .runTile = [this](int index) { fire(index); },
        .toggleEditMode = [this] { setEditing(!m_editMode.isEditing()); },
        .togglePin = [this] { m_services.settings().setPinned(!m_services.settings().isPinned()); },
        .toggleCompact = [this] { m_services.settings().setCompact(!m_services.settings().isCompact()); },
        .openSettings = [this] { m_settingsWindow->show(); },
        .openPage = [this](const QUrl& page) { m_services.workspace().open(page); },
        .updatesAddress = [] { return QStringLiteral(MARQUETTO_UPDATES_URL); },
        .websiteAddress = [] { return QStringLiteral(MARQUETTO_HOMEPAGE); },
        .restart = [this] { restartApp(); },
        .quit = [] { QCoreApplication::quit(); },
        .isSummoned = [this] { return m_panel->isSummoned(); },
        .isEditing = [this] { return m_editMode.isEditing(); },
        .isPinned = [this] { return m_services.settings().isPinned(); },
        .isCompact = [this] { return m_services.settings().isCompact(); },
        .saveProblem = [this] { return m_saveNotice->statusLine(); },
    };
    m_statusMenu = std::make_unique<StatusMenu>(std::move(handlers));
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        if (m_root)
            carryStatusItems(m_root->deck());
        return;
    }
    m_tray = new QSystemTrayIcon(this);
    m_tray->setIcon(TrayIcon::icon());
    m_tray->setToolTip(QStringLiteral("Marquetto"));
    m_tray->setContextMenu(m_statusMenu->menu());
    m_tray->show();
}

void DeckUi::showDeck()
{
    // Linux desktops have no dock icon to show or hide, whatever "showDockIcon" says.
    m_deal.arrive();
    m_panel->showPanel();
}

void DeckUi::startCloudDeck()
{
    CloudDeck& cloud = m_services.cloudDeck();
    cloud.setEditingCheck([this] {
        return m_editMode.isEditing() || m_editMode.isDragging() || m_editor->openSlot().has_value();
    });
    cloud.setPanelRebuild([this] { m_panel->showPanel(); });
    cloud.startIfOn();
}

void DeckUi::startMenusAndKeys()
{
    setUpStatusItem();
    m_mainMenu =
        std::make_unique<MainMenu>([this] { m_settingsWindow->show(); }, [] { QCoreApplication::quit(); });
    m_settingsWindow->setMainMenu(m_mainMenu.get());
    m_hotKeyCenter = std::make_unique<HotKeyCenter>(m_services.hotKeys());
    m_hotKeys->registerAll(*m_hotKeyCenter);
    followChameleonGlass(m_services.settings().chameleonGlass());
}

void DeckUi::warmUpSymbols()
{
    m_symbols.warmUp();
}

void DeckUi::summon()
{
    m_panel->beginSummon();
}

void DeckUi::toggleSummon()
{
    m_hotKeys->toggleSummon();
}

bool DeckUi::fire(int index)
{
    const int page = m_services.store().currentPage();
    if (!m_services.store().tile(page, index).action)
        return false;
    // The answer goes back first: running an application tile may show an alert, and its modal loop must not
    // run inside the handler of the companion's request.
    QTimer::singleShot(0, this, [this, page, index] { m_activation->run(page, index); });
    return true;
}

void DeckUi::setEditing(bool editing)
{
    m_editMode.setEditing(editing);
}

void DeckUi::openSettings(const QString& tab)
{
    m_settingsWindow->show(tab);
}

void DeckUi::importDeckFile(const QString& path)
{
    // Queued: the question it asks must not run inside the handler of the request that brought the file.
    QTimer::singleShot(0, this, [this, path] { DeckCommands::importDeckFile(m_deckCommands, path); });
}

void DeckUi::openEditor(int page, int index)
{
    m_editor->show(page, index);
}

void DeckUi::restartApp()
{
    m_services.processes().fireAndForget(QLatin1String(Restart::shell),
                                         Restart::shellArguments(QCoreApplication::applicationFilePath()));
    QCoreApplication::quit();
}

std::optional<QRect> DeckUi::frame() const
{
    const PanelWindow* window = m_panel->window();
    if (!window)
        return std::nullopt;
    return ScreenCoordinates::toQt(window->frame()).toRect();
}

bool DeckUi::isDealing() const
{
    return m_deal.isBusy() || (m_root && m_root->deck().isTransitioning());
}

std::vector<int> DeckUi::litSlots() const
{
    return m_root ? m_root->deck().litSlots() : std::vector<int>();
}

std::optional<DeckUi::Slot> DeckUi::editorSlot() const
{
    const auto slot = m_editor->openSlot();
    if (!slot)
        return std::nullopt;
    return Slot{slot->page, slot->index};
}

bool DeckUi::isSettingsOpen() const
{
    return m_settingsWindow->isOpen();
}

QString DeckUi::settingsTab() const
{
    return m_settingsWindow->currentTab();
}

QString DeckUi::saveProblem() const
{
    return m_saveNotice->statusLine();
}
