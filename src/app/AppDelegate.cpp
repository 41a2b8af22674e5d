#include "app/AppDelegate.h"

#include "actions/NowPlaying.h"
#include "actions/TileState.h"
#include "actions/WindowSnap.h"
#include "app/DeckControlServer.h"
#include "band/BandEngines.h"
#include "commands/DeckLock.h"
#include "model/TileStore.h"
#include "services/DeckServices.h"
#include "ui/paint/FirstPaint.h"

#include <QTimer>

namespace {

constexpr int artworkDelayMs = 2000;
// Well after the first paint, so the clean-up never competes with the deck coming up.
constexpr std::chrono::seconds iconCleanupDelay{10};

} // namespace

AppDelegate::AppDelegate(DeckServices& services, QObject* parent)
    : QObject(parent)
    , m_services(services)
    , m_ui(services)
    , m_remote(services, m_ui)
{
    m_server = new DeckControlServer(
        [this](const DeckChannel::Request& request) { return m_remote.handle(request); }, this);
    m_server->listen(DeckChannel::socketPath(m_services.paths()));
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching()
{
    m_services.band().holdReaders();
    m_ui.showDeck();
    m_afterFirstPaint = std::make_unique<FirstPaint>([this] { startAfterFirstPaint(); });
    QTimer::singleShot(artworkDelayMs, this, [this] { m_services.store().fetchAllMissingPlaylistArtwork(); });
    m_ui.startCloudDeck();
    QTimer::singleShot(iconCleanupDelay, this, &AppDelegate::cleanUpIcons);
}

void AppDelegate::openDeckFile(const QString& path)
{
    m_ui.importDeckFile(path);
}

void AppDelegate::startAfterFirstPaint()
{
    // The band's modules read the system, the sound server and the network, the tray asks the session bus,
    // the hot keys and the window tracking open display connections of their own, and the main menu's
    // shortcuts serve windows that are not open yet: the deck's first paint need wait for none of them.
    m_services.band().releaseReaders();
    m_ui.startMenusAndKeys();
    m_services.nowPlaying().start();
    m_services.tileState().start();
    m_services.windowSnap().startTrackingFrontmost();
    m_ui.warmUpSymbols();
}

void AppDelegate::cleanUpIcons()
{
    // The deck lock of these files is the one sign that no other deck works on them; without it in hand,
    // an icon another deck just set might go.
    if (!DeckLock::isHeldByThisProcess(m_services.paths()))
        return;
    m_services.cleanUpIcons();
}
