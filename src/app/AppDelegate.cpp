#include "app/AppDelegate.h"

#include "actions/SharedActions.h"
#include "app/DeckControlServer.h"
#include "app/MainMenu.h"
#include "app/Restart.h"
#include "app/StatusMenu.h"
#include "editing/PhosphorFont.h"
#include "exchange/IconFinish.h"
#include "exchange/IconResolver.h"
#include "model/Settings.h"
#include "model/TileStore.h"
#include "panel/DeckGlyph.h"
#include "panel/DeckWindow.h"
#include "panel/DesktopPanel.h"
#include "panel/HotKeys.h"
#include "panel/PanelRootView.h"
#include "panel/TileActivation.h"
#include "platform/Preferences.h"
#include "platform/ServiceRegistry.h"

#include <QApplication>
#include <QBuffer>
#include <QJsonArray>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTextStream>
#include <QTimer>

namespace {

constexpr int artworkDelayMs = 2000;

} // namespace

AppDelegate::AppDelegate(const AppPaths& paths, QObject* parent)
    : QObject(parent)
    , m_starterHint(Preferences::shared())
    , m_stacking(ServiceRegistry::createWindowStacking())
{
    m_desktop = std::make_unique<QtPanelDesktop>(
        *m_stacking, [this](bool translucent) { return makeContent(translucent); },
        [this] {
            return QSizeF(
                DeckView::geometryFor(DeckSettings::shared(), TileStore::shared(), m_starterHint, m_editMode)
                    .size());
        });
    m_panel = std::make_unique<DesktopPanelController>(DesktopPanelController::Services{
        DeckSettings::shared(), Preferences::shared(), TileStore::shared(), m_editMode, m_chrome, *m_desktop,
        ServiceRegistry::clock(), m_starterHint});
    m_desktop->setController(m_panel.get());
    m_activation = std::make_unique<TileActivation>(
        TileActivation::Services{TileStore::shared(), DeckSettings::shared(), m_editMode,
                                 SharedActions::runner(), ServiceRegistry::clickSound(), *m_panel});
    m_hotKeyCenter = std::make_unique<HotKeyCenter>(ServiceRegistry::hotKeys());
    m_hotKeys = std::make_unique<DeckHotKeys>(
        DeckHotKeys::Services{*m_hotKeyCenter, TileStore::shared(), *m_activation, *m_panel});
    // The settings window does not exist yet, so "Settings…" stays disabled.
    m_mainMenu = std::make_unique<MainMenu>(nullptr, [] { QCoreApplication::quit(); });
    startServer(paths);
}

AppDelegate::~AppDelegate() = default;

QWidget* AppDelegate::makeContent(bool translucent)
{
    auto* root = new PanelRootView({{TileStore::shared(), DeckSettings::shared(), m_starterHint, m_editMode,
                                     m_hover, IconResolver::shared(), IconFinish::shared(),
                                     PhosphorFont::shared(), m_music, ServiceRegistry::alerts(), m_frames},
                                    m_chrome},
                                   translucent);
    connect(&root->deck(), &DeckView::tileActivated, m_activation.get(), &TileActivation::activate);
    // Without a tray, the deck's own menu carries the status menu's items.
    if (!m_tray && m_statusMenu)
        root->deck().menus().setExtraItems(
            [status = m_statusMenu.get()](QMenu& menu) { status->showIn(menu); });
    return root;
}

void AppDelegate::applicationDidFinishLaunching()
{
    setUpStatusItem();
    // Linux desktops have no dock icon to show or hide, whatever "showDockIcon" says.
    m_panel->showPanel();
    m_hotKeys->registerAll();
    SharedActions::windowSnap().startTrackingFrontmost();
    QTimer::singleShot(artworkDelayMs, this, [] { TileStore::shared().fetchAllMissingPlaylistArtwork(); });
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
        .checkForUpdates =
            [] { ServiceRegistry::workspace().open(QUrl(QLatin1String(StatusMenu::releasesAddress))); },
        .openWebsite =
            [] { ServiceRegistry::workspace().open(QUrl(QLatin1String(StatusMenu::websiteAddress))); },
        .restart = [this] { restartApp(); },
        .quit = [] { QCoreApplication::quit(); },
        .isSummoned = [this] { return m_panel->isSummoned(); },
        .isEditing = [this] { return m_editMode.isEditing(); },
        .isPinned = [] { return DeckSettings::shared().isPinned(); },
        .isCompact = [] { return DeckSettings::shared().isCompact(); },
    };
    m_statusMenu = std::make_unique<StatusMenu>(std::move(handlers));
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_tray = new QSystemTrayIcon(this);
    QIcon icon;
    for (int side : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(DeckGlyph::image(QSize(side, side), Qt::white)));
    m_tray->setIcon(icon);
    m_tray->setToolTip(QStringLiteral("Marquetto"));
    m_tray->setContextMenu(m_statusMenu->menu());
    m_tray->show();
}

void AppDelegate::startServer(const AppPaths& paths)
{
    m_server =
        new DeckControlServer([this](const DeckChannel::Request& request) { return handle(request); }, this);
    m_server->listen(DeckChannel::socketPath(paths));
}

DeckChannel::Response AppDelegate::handle(const DeckChannel::Request& request)
{
    if (request.arguments == QStringList{QStringLiteral("reopen")}) {
        applicationShouldHandleReopen();
        return {};
    }
    QByteArray input = request.input;
    QBuffer in(&input);
    in.open(QIODevice::ReadOnly);
    DeckChannel::Response response;
    QTextStream out(&response.out);
    QTextStream err(&response.err);
    DeckTool tool(TileStore::shared(), DeckSettings::shared(), &SharedActions::runner, in, out, err, this);
    response.status = tool.run(request.arguments);
    out.flush();
    err.flush();
    return response;
}

QJsonObject AppDelegate::state() const
{
    QJsonArray frame{0, 0, 0, 0};
    if (const PanelWindow* window = m_panel->window()) {
        const QRect qtFrame = ScreenCoordinates::toQt(window->frame()).toRect();
        frame = QJsonArray{qtFrame.x(), qtFrame.y(), qtFrame.width(), qtFrame.height()};
    }
    return {
        {QStringLiteral("currentPage"), TileStore::shared().currentPage()},
        {QStringLiteral("isSummoned"), m_panel->isSummoned()},
        {QStringLiteral("isCompact"), DeckSettings::shared().isCompact()},
        {QStringLiteral("isExpanded"), m_chrome.isExpanded()},
        {QStringLiteral("isEditing"), m_editMode.isEditing()},
        {QStringLiteral("frame"), frame},
    };
}

void AppDelegate::toggleSummon()
{
    m_hotKeys->toggleSummon();
}

bool AppDelegate::fire(int index)
{
    return m_hotKeys->fireTile(index);
}

void AppDelegate::toggleEditMode()
{
    m_editMode.setEditing(!m_editMode.isEditing());
}

void AppDelegate::togglePin()
{
    DeckSettings::shared().setPinned(!DeckSettings::shared().isPinned());
}

void AppDelegate::toggleCompact()
{
    DeckSettings::shared().setCompact(!DeckSettings::shared().isCompact());
    m_panel->applyCompactChange();
}

void AppDelegate::restartApp()
{
    ServiceRegistry::processes().fireAndForget(
        QLatin1String(Restart::shell), Restart::shellArguments(QCoreApplication::applicationFilePath()));
    QCoreApplication::quit();
}
