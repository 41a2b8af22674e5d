#include "app/AppDelegate.h"

#include "actions/ActionRunner.h"
#include "actions/NowPlaying.h"
#include "actions/TileState.h"
#include "actions/WindowSnap.h"
#include "app/DeckControlServer.h"
#include "app/Restart.h"
#include "app/StatusMenu.h"
#include "app/TrayIcon.h"
#include "band/BandEngines.h"
#include "band/BandLayout.h"
#include "commands/DeckCommands.h"
#include "commands/DeckLock.h"
#include "core/ColorText.h"
#include "core/Preferences.h"
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
#include "ui/paint/FirstPaint.h"
#include "ui/settings/CloudFolderDialog.h"
#include "ui/settings/FeedbackView.h"
#include "ui/settings/MainMenu.h"
#include "ui/settings/SettingsView.h"
#include "ui/settings/SettingsWindow.h"
#include "ui/settings/ShortcutsWindow.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonArray>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTextStream>
#include <QTimer>

namespace {

std::optional<QString> chooseFeedbackFile(const QString& suggestedName)
{
    const QString path = QFileDialog::getSaveFileName(
        QApplication::activeWindow(), QStringLiteral("Save Feedback"), QDir::home().filePath(suggestedName),
        QStringLiteral("Text (*.txt);;All Files (*)"));
    return path.isEmpty() ? std::nullopt : std::optional(path);
}

constexpr int artworkDelayMs = 2000;
// Well after the first paint, so the clean-up never competes with the deck coming up.
constexpr std::chrono::seconds iconCleanupDelay{10};

QJsonObject hotKeysState(const GlobalHotKeys& keys)
{
    QJsonObject triggers;
    for (const auto& [id, trigger] : keys.triggers())
        triggers.insert(id == DeckHotKeys::summonId ? QStringLiteral("summon") : QString::number(id),
                        trigger);
    return {{QStringLiteral("mechanism"), hotKeyMechanismNames.rawValue(keys.mechanism())},
            {QStringLiteral("triggers"), triggers}};
}

} // namespace

AppDelegate::AppDelegate(DeckServices& services, QObject* parent)
    : QObject(parent)
    , m_services(services)
    , m_fileIcons(createFileIcons(services.paths()))
    , m_icons(services.paths().iconsDir(), *m_fileIcons, services.clock())
    , m_editMode(services.store())
    , m_artwork(services.nowPlaying())
    , m_deal({services.settings(), services.clock(), services.reduceMotion()})
    , m_stacking(services.createWindowStacking())
    , m_editor(std::make_unique<EditorWindowController>(
          EditorView::Services{services, {m_icons, m_finish, m_font}, m_symbols}))
    , m_bandCustomize(std::make_unique<BandCustomizeWindow>(services.settings(), m_font, services.clock()))
    , m_focusSetup(std::make_unique<FocusSetupWindowController>(services.band().focus(), m_font,
                                                                services.workspace(), services.wordings(),
                                                                PhosphorFont::resourcesDir()))
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
    connect(m_activation.get(), &TileActivation::editorRequested, this, &AppDelegate::openEditor);
    // Lights follow what a tile did without waiting for the next poll.
    connect(m_activation.get(), &TileActivation::actionRan, &m_services.tileState(),
            &TileStateProvider::refreshSoon);
    m_hotKeys =
        std::make_unique<DeckHotKeys>(DeckHotKeys::Services{m_services.store(), *m_activation, *m_panel});
    connect(&m_services.settings(), &DeckSettings::chameleonGlassChanged, this,
            &AppDelegate::followChameleonGlass);
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
    startServer();
}

void AppDelegate::makeSettingsWindow()
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
                ShortcutsWindowController::show(m_services.wordings(), m_mainMenu.get(),
                                                m_hotKeyCenter ? &m_services.hotKeys() : nullptr,
                                                m_shortcutSetup.get());
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

DeckCommands::DeckParts AppDelegate::settingsDeckParts()
{
    DeckCommands::DeckParts parts = m_deckCommands;
    parts.reloadBackups = [window = QPointer<SettingsWindowController>(m_settingsWindow.get())] {
        if (window)
            window->reloadBackups();
    };
    return parts;
}

AppDelegate::~AppDelegate() = default;

QWidget* AppDelegate::makeContent(bool translucent)
{
    auto* root = new PanelRootView(
        {{m_services.store(), m_services.settings(), m_services.applicationNames(), m_services.starterHint(),
          m_editMode, m_hover, m_icons, m_finish, m_font, m_services.music(), m_services.alerts(), m_frames,
          m_deal, m_services.tileState(), m_artwork, m_services.band(), m_services.wordings()},
         m_chrome},
        translucent);
    connect(&root->deck(), &DeckView::tileActivated, m_activation.get(), &TileActivation::activate);
    connect(&root->deck(), &DeckView::editTileRequested, this, &AppDelegate::openEditor);
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

void AppDelegate::carryStatusItems(DeckView& deck)
{
    // Without a tray, the deck's own menu carries the status menu's items.
    deck.menus().setExtraItems([status = m_statusMenu.get()](QMenu& menu) { status->showIn(menu); });
}

void AppDelegate::applicationDidFinishLaunching()
{
    // Linux desktops have no dock icon to show or hide, whatever "showDockIcon" says.
    m_deal.arrive();
    m_services.band().holdReaders();
    m_panel->showPanel();
    m_afterFirstPaint = std::make_unique<FirstPaint>([this] { startAfterFirstPaint(); });
    QTimer::singleShot(artworkDelayMs, this, [this] { m_services.store().fetchAllMissingPlaylistArtwork(); });
    startCloudDeck();
    QTimer::singleShot(iconCleanupDelay, this, &AppDelegate::cleanUpIcons);
}

void AppDelegate::cleanUpIcons()
{
    // The deck lock of these files is the one sign that no other deck works on them; without it in hand,
    // an icon another deck just set might go.
    if (!DeckLock::isHeldByThisProcess(m_services.paths()))
        return;
    m_services.cleanUpIcons();
}

void AppDelegate::startCloudDeck()
{
    CloudDeck& cloud = m_services.cloudDeck();
    cloud.setEditingCheck([this] {
        return m_editMode.isEditing() || m_editMode.isDragging() || m_editor->openSlot().has_value();
    });
    cloud.setPanelRebuild([this] { m_panel->showPanel(); });
    cloud.startIfOn();
}

void AppDelegate::switchCloudDeck(bool on)
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

void AppDelegate::startAfterFirstPaint()
{
    // The band's modules read the system, the sound server and the network, the tray asks the session bus,
    // the hot keys and the window tracking open display connections of their own, and the main menu's
    // shortcuts serve windows that are not open yet: the deck's first paint need wait for none of them.
    m_services.band().releaseReaders();
    setUpStatusItem();
    m_mainMenu =
        std::make_unique<MainMenu>([this] { m_settingsWindow->show(); }, [] { QCoreApplication::quit(); });
    m_settingsWindow->setMainMenu(m_mainMenu.get());
    m_hotKeyCenter = std::make_unique<HotKeyCenter>(m_services.hotKeys());
    m_hotKeys->registerAll(*m_hotKeyCenter);
    followChameleonGlass(m_services.settings().chameleonGlass());
    m_services.nowPlaying().start();
    m_services.tileState().start();
    m_services.windowSnap().startTrackingFrontmost();
    m_symbols.warmUp();
}

void AppDelegate::followChameleonGlass(bool on)
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

void AppDelegate::openDeckFile(const QString& path)
{
    // Queued: the question it asks must not run inside the handler of the request that brought the file.
    QTimer::singleShot(0, this, [this, path] { DeckCommands::importDeckFile(m_deckCommands, path); });
}

void AppDelegate::applicationShouldHandleReopen()
{
    m_panel->beginSummon();
}

void AppDelegate::setUpStatusItem()
{
    StatusMenu::Handlers handlers{
        .toggleSummon = [this] { toggleSummon(); },
        .runTile = [this](int index) { fire(index); },
        .toggleEditMode = [this] { toggleEditMode(); },
        .togglePin = [this] { togglePin(); },
        .toggleCompact = [this] { toggleCompact(); },
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

void AppDelegate::startServer()
{
    m_server =
        new DeckControlServer([this](const DeckChannel::Request& request) { return handle(request); }, this);
    m_server->listen(DeckChannel::socketPath(m_services.paths()));
}

DeckChannel::Response AppDelegate::handle(const DeckChannel::Request& request)
{
    // A second launch of the deck: "reopen", followed by the deck file it was asked to open, if any.
    if (request.arguments.value(0) == u"reopen" && request.arguments.size() <= 2) {
        applicationShouldHandleReopen();
        if (request.arguments.size() == 2)
            openDeckFile(request.arguments[1]);
        return {};
    }
    QByteArray input = request.input;
    QBuffer in(&input);
    in.open(QIODevice::ReadOnly);
    DeckChannel::Response response;
    QTextStream out(&response.out);
    QTextStream err(&response.err);
    DeckCommands::Context context{
        .store = m_services.store(),
        .settings = m_services.settings(),
        .names = m_services.applicationNames(),
        .runner = [this]() -> ActionRunner& { return m_services.runner(); },
        .deck = this,
        .in = in,
        .out = out,
        .err = err,
        .iconsDir = m_services.paths().iconsDir(),
        .clock = &m_services.clock(),
        .cloud = &m_services.cloudDeck(),
    };
    response.status = DeckCommands::runInDeck(context, request.arguments);
    out.flush();
    err.flush();
    return response;
}

QJsonObject AppDelegate::band() const
{
    const DeckSettings& settings = m_services.settings();
    const int units = BandLayout::unitCount(settings);
    QJsonArray modules;
    if (settings.showBand()) {
        const QList<BandModule> visible = BandLayout::visibleModules(settings.bandModules(), units);
        const std::vector<int> widths = BandLayout::layout(visible, units);
        for (qsizetype i = 0; i < visible.size(); ++i)
            modules.append(QJsonObject{{QStringLiteral("module"), rawValue(visible[i])},
                                       {QStringLiteral("units"), widths[static_cast<std::size_t>(i)]},
                                       {QStringLiteral("text"), m_services.band().face(visible[i]).line}});
    }
    return {{QStringLiteral("units"), units}, {QStringLiteral("modules"), modules}};
}

QJsonObject AppDelegate::state() const
{
    QJsonArray frame{0, 0, 0, 0};
    if (const PanelWindow* window = m_panel->window()) {
        const QRect qtFrame = ScreenCoordinates::toQt(window->frame()).toRect();
        frame = QJsonArray{qtFrame.x(), qtFrame.y(), qtFrame.width(), qtFrame.height()};
    }
    const NowPlayingModel& nowPlaying = m_services.nowPlaying();
    QJsonValue playing = QJsonValue::Null;
    if (nowPlaying.hasAnswered())
        playing = QJsonObject{{QStringLiteral("title"), nowPlaying.trackName()},
                              {QStringLiteral("artist"), nowPlaying.artistName()},
                              {QStringLiteral("isPlaying"), nowPlaying.isPlaying()}};
    QJsonArray lit;
    if (m_root)
        for (const int slot : m_root->deck().litSlots())
            lit.append(slot);
    QJsonValue editor = QJsonValue::Null;
    if (const auto slot = m_editor->openSlot())
        editor = QJsonObject{{QStringLiteral("page"), slot->page}, {QStringLiteral("index"), slot->index}};
    return {
        {QStringLiteral("currentPage"), m_services.store().currentPage()},
        {QStringLiteral("isSummoned"), m_panel->isSummoned()},
        {QStringLiteral("isCompact"), m_services.settings().isCompact()},
        {QStringLiteral("isExpanded"), m_chrome.isExpanded()},
        {QStringLiteral("isEditing"), m_editMode.isEditing()},
        {QStringLiteral("frame"), frame},
        {QStringLiteral("editor"), editor},
        {QStringLiteral("tint"),
         m_chrome.tint() ? QJsonValue(ColorText::text(*m_chrome.tint())) : QJsonValue()},
        {QStringLiteral("isDealing"), m_deal.isBusy() || (m_root && m_root->deck().isTransitioning())},
        {QStringLiteral("nowPlaying"), playing},
        {QStringLiteral("lit"), lit},
        {QStringLiteral("settingsOpen"), m_settingsWindow->isOpen()},
        {QStringLiteral("settingsTab"), m_settingsWindow->currentTab()},
        {QStringLiteral("hotKeys"), m_hotKeyCenter ? hotKeysState(m_services.hotKeys()) : QJsonValue()},
        {QStringLiteral("reduceMotion"), m_services.reduceMotion().isOn()},
        {QStringLiteral("saveProblem"),
         m_saveNotice->statusLine().isEmpty() ? QJsonValue() : QJsonValue(m_saveNotice->statusLine())},
    };
}

void AppDelegate::toggleSummon()
{
    m_hotKeys->toggleSummon();
}

bool AppDelegate::fire(int index)
{
    const int page = m_services.store().currentPage();
    if (!m_services.store().tile(page, index).action)
        return false;
    // The answer goes back first: running an application tile may show an alert, and its modal loop must not
    // run inside the handler of the companion's request.
    QTimer::singleShot(0, this, [this, page, index] { m_activation->run(page, index); });
    return true;
}

void AppDelegate::setEditing(bool editing)
{
    m_editMode.setEditing(editing);
}

void AppDelegate::openSettings(const QString& tab)
{
    m_settingsWindow->show(tab);
}

void AppDelegate::toggleEditMode()
{
    setEditing(!m_editMode.isEditing());
}

void AppDelegate::togglePin()
{
    m_services.settings().setPinned(!m_services.settings().isPinned());
}

void AppDelegate::toggleCompact()
{
    m_services.settings().setCompact(!m_services.settings().isCompact());
}

void AppDelegate::restartApp()
{
    m_services.processes().fireAndForget(QLatin1String(Restart::shell),
                                         Restart::shellArguments(QCoreApplication::applicationFilePath()));
    QCoreApplication::quit();
}

void AppDelegate::openEditor(int page, int index)
{
    m_editor->show(page, index);
}
