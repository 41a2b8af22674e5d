#include "deck/DesktopPanel.h"

#include "core/Clock.h"
#include "core/Preferences.h"
#include "deck/DealEngine.h"
#include "deck/EditMode.h"
#include "deck/PanelChrome.h"
#include "model/Settings.h"
#include "model/StarterHint.h"
#include "model/TileStore.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

// The chip's square is drawn at this share of a tile, with this much room around it for its shadow.
constexpr double chipShareOfTile = 76.0 / 92.0;
constexpr double chipPadding = 10;
constexpr double firstStartMargin = 32;
const QRectF fallbackScreen{0, 0, 1440, 900};

struct FlipRule {
    double threshold;
    qint64 minimumIntervalMs;
};
// Trackpads report many small precise deltas per swipe; a wheel notch reports about one.
constexpr FlipRule preciseFlip{10, 450};
constexpr FlipRule wheelFlip{0.5, 120};

// Rectangles here are y up: y() is the bottom edge and y() + height() the top.
double maxY(const QRectF& rect)
{
    return rect.y() + rect.height();
}

bool holds(const QRectF& rect, QPointF point)
{
    return point.x() >= rect.x() && point.x() < rect.x() + rect.width() && point.y() >= rect.y() &&
           point.y() < maxY(rect);
}

// The same top-left corner with another size.
QRectF withTopLeftKept(const QRectF& rect, QSizeF size)
{
    return {rect.x(), maxY(rect) - size.height(), size.width(), size.height()};
}

} // namespace

DesktopPanelController::DesktopPanelController(Services services, QObject* parent)
    : QObject(parent)
    , m_services(services)
{
    m_collapseTimer.setSingleShot(true);
    m_collapseTimer.setInterval(collapseDelayMs);
    connect(&m_collapseTimer, &QTimer::timeout, this, &DesktopPanelController::collapse);
    m_outsideCheckTimer.setInterval(outsideCheckIntervalMs);
    connect(&m_outsideCheckTimer, &QTimer::timeout, this, &DesktopPanelController::checkPointerOutside);
    m_shrinkTimer.setSingleShot(true);
    m_shrinkTimer.setInterval(shrinkDelayMs);
    connect(&m_shrinkTimer, &QTimer::timeout, this, &DesktopPanelController::finishShrink);
}

DesktopPanelController::~DesktopPanelController() = default;

QSizeF DesktopPanelController::chipWindowSize() const
{
    const double side = m_services.settings.tileSide() * chipShareOfTile + 2 * chipPadding;
    return {side, side};
}

void DesktopPanelController::showPanel()
{
    m_expandedSize = m_services.desktop.deckFittingSize();

    const bool startFolded = m_services.settings.isCompact() && !m_services.editMode.isEditing() &&
                             !m_services.editMode.isDragging() && !m_isSummoned;
    m_services.chrome.setExpanded(!startFolded);

    const QSizeF size = startFolded ? chipWindowSize() : m_expandedSize;
    QRectF frame;
    if (const std::optional<QRectF> restored = restoredExpandedFrame())
        frame = withTopLeftKept(*restored, size);
    else
        frame = PanelPlacement::homeFrame(m_services.desktop.screens(), m_services.desktop.mainScreen(),
                                          m_expandedSize, size);
    frame = PanelPlacement::clampedToScreen(frame, std::nullopt, m_services.desktop.screens(),
                                            m_services.desktop.mainScreen());

    if (m_window)
        m_window->close();
    m_window = m_services.desktop.createWindow(
        frame, m_isSummoned ? PanelLevel::summoned : PanelLevel::desktop, !m_services.settings.isPinned());
    if (m_window)
        connect(m_window.get(), &PanelWindow::moved, this, &DesktopPanelController::saveExpandedFrame);
    installObserversOnce();
    Q_EMIT windowChanged();

    if (m_services.settings.isCompact() && m_services.chrome.isExpanded())
        startOutsideCheck();
    else
        m_outsideCheckTimer.stop();
}

void DesktopPanelController::beginSummon()
{
    m_services.starterHint.dismiss();
    if (!m_window)
        return;
    setSummoned(true);
    if (m_services.settings.isCompact())
        expand();
    m_window->setLevel(PanelLevel::summoned);
    m_services.deal.summoned();
}

void DesktopPanelController::endSummon()
{
    if (!m_isSummoned || !m_window)
        return;
    setSummoned(false);
    m_services.deal.dismissed();
    m_window->setLevel(PanelLevel::desktop);
    if (m_services.settings.isCompact() && !isPointerInsideWindow())
        scheduleCollapse();
}

void DesktopPanelController::applyCompactChange()
{
    if (!m_services.settings.isCompact()) {
        m_collapseTimer.stop();
        expand();
        return;
    }
    if (isPointerInsideWindow() || m_services.editMode.isEditing())
        return;
    if (!m_services.editMode.isDragging() && !m_isSummoned)
        collapse();
}

void DesktopPanelController::handleHoverChange(bool inside)
{
    m_lastHoverInside = inside;
    if (!m_services.settings.isCompact())
        return;
    if (inside) {
        m_collapseTimer.stop();
        expand();
    } else {
        scheduleCollapse();
    }
}

void DesktopPanelController::handleScroll(const ScrollEvent& event)
{
    if (!m_window || !event.inDeckWindow || event.isMomentum)
        return;
    const double delta =
        std::abs(event.delta.x()) > std::abs(event.delta.y()) ? event.delta.x() : event.delta.y();
    const FlipRule rule = event.hasPreciseDeltas ? preciseFlip : wheelFlip;
    if (std::abs(delta) <= rule.threshold)
        return;
    const QDateTime now = m_services.clock.now();
    if (m_lastPageFlip.isValid() && m_lastPageFlip.msecsTo(now) <= rule.minimumIntervalMs)
        return;
    m_lastPageFlip = now;
    TileStore& store = m_services.store;
    store.goToPage(delta >= 0 ? store.currentPage() - 1 : store.currentPage() + 1);
}

void DesktopPanelController::expand()
{
    m_shrinkTimer.stop();
    if (m_services.chrome.isExpanded())
        return;
    // The window grows first so that the deck has room to animate in.
    resizeWindow(m_expandedSize);
    m_services.chrome.setExpanded(true);
    if (m_services.settings.isCompact())
        startOutsideCheck();
}

void DesktopPanelController::collapse()
{
    if (!canFold())
        return;
    m_collapseTimer.stop();
    m_outsideCheckTimer.stop();
    m_services.chrome.setExpanded(false);
    // The chip animates in first; the window shrinks once the animation is over.
    m_shrinkTimer.start();
}

void DesktopPanelController::finishShrink()
{
    if (!m_services.chrome.isExpanded())
        resizeWindow(chipWindowSize());
}

void DesktopPanelController::checkPointerOutside()
{
    if (!canFold() || isPointerInsideWindow())
        return;
    // The pointer left without the view noticing, e.g. it moved fast across the edge.
    m_lastHoverInside = false;
    collapse();
}

std::optional<QRectF> DesktopPanelController::restoredExpandedFrame() const
{
    const std::optional<QString> text =
        m_services.preferences.stringValue(QLatin1String(DesktopPanelController::frameKey));
    if (!text)
        return std::nullopt;
    const std::optional<QRectF> frame = PanelPlacement::frameFromText(*text);
    if (!frame)
        return std::nullopt;
    const std::vector<Windows::Screen> screens = m_services.desktop.screens();
    const bool onSomeScreen = std::any_of(screens.begin(), screens.end(), [&](const Windows::Screen& screen) {
        return screen.visibleFrame.intersects(*frame);
    });
    return onSomeScreen ? frame : std::nullopt;
}

void DesktopPanelController::resetPosition()
{
    if (!m_window)
        return;
    m_window->setFrame(PanelPlacement::homeFrame(m_services.desktop.screens(),
                                                 m_services.desktop.mainScreen(), m_expandedSize,
                                                 m_window->frame().size()));
    saveExpandedFrame();
}

void DesktopPanelController::saveExpandedFrame()
{
    if (!m_window)
        return;
    // Always the full deck's frame, also while folded, so the next start opens the deck where the chip was.
    const QRectF frame = withTopLeftKept(m_window->frame(), m_expandedSize);
    m_services.preferences.setValue(QLatin1String(DesktopPanelController::frameKey),
                                    PanelPlacement::frameText(frame));
}

void DesktopPanelController::setSummoned(bool summoned)
{
    if (summoned == m_isSummoned)
        return;
    m_isSummoned = summoned;
    Q_EMIT summonedChanged(summoned);
}

bool DesktopPanelController::canFold() const
{
    return m_services.chrome.isExpanded() && m_services.settings.isCompact() &&
           !m_services.editMode.isEditing() && !m_services.editMode.isDragging() && !m_isSummoned;
}

bool DesktopPanelController::isPointerInsideWindow() const
{
    return m_window && holds(m_window->frame(), m_services.desktop.pointerLocation());
}

void DesktopPanelController::scheduleCollapse()
{
    m_collapseTimer.start();
}

void DesktopPanelController::startOutsideCheck()
{
    if (!m_outsideCheckTimer.isActive())
        m_outsideCheckTimer.start();
}

void DesktopPanelController::resizeWindow(QSizeF size)
{
    if (!m_window)
        return;
    const QRectF frame =
        PanelPlacement::clampedToScreen(withTopLeftKept(m_window->frame(), size), m_window->screen(),
                                        m_services.desktop.screens(), m_services.desktop.mainScreen());
    m_window->setFrame(frame);
}

void DesktopPanelController::screensChanged()
{
    if (!m_window)
        return;
    // The window's own screen may be the one that went away; its centre finds the screen it belongs to now.
    const QRectF frame = PanelPlacement::clampedToScreen(
        m_window->frame(), std::nullopt, m_services.desktop.screens(), m_services.desktop.mainScreen());
    if (frame != m_window->frame())
        m_window->setFrame(frame);
}

void DesktopPanelController::installObserversOnce()
{
    if (m_observersInstalled)
        return;
    m_observersInstalled = true;
    connect(&m_services.settings, &DeckSettings::pinnedChanged, this, [this](bool pinned) {
        if (m_window)
            m_window->setMovableByBackground(!pinned);
    });
    connect(&m_services.settings, &DeckSettings::compactChanged, this,
            &DesktopPanelController::applyCompactChange);
    connect(&m_services.editMode, &EditModeState::editingChanged, this, [this](bool editing) {
        if (!m_services.settings.isCompact())
            return;
        if (editing) {
            m_collapseTimer.stop();
            expand();
        } else if (!isPointerInsideWindow()) {
            scheduleCollapse();
        }
    });
}

namespace PanelPlacement {

QRectF clampedToScreen(const QRectF& rect, const std::optional<Windows::Screen>& windowScreen,
                       const std::vector<Windows::Screen>& screens, std::optional<std::size_t> mainScreen)
{
    std::optional<Windows::Screen> screen = windowScreen;
    if (!screen) {
        const auto holding =
            std::find_if(screens.begin(), screens.end(), [&](const Windows::Screen& candidate) {
                return holds(candidate.frame, rect.center());
            });
        if (holding != screens.end())
            screen = *holding;
        else if (mainScreen && *mainScreen < screens.size())
            screen = screens[*mainScreen];
        else if (!screens.empty())
            screen = screens.front();
    }
    if (!screen)
        return rect;
    const QRectF& visible = screen->visibleFrame;
    const double x = std::min(std::max(visible.x(), rect.x()),
                              std::max(visible.x(), visible.x() + visible.width() - rect.width()));
    const double y =
        std::min(std::max(visible.y(), rect.y()), std::max(visible.y(), maxY(visible) - rect.height()));
    return {x, y, rect.width(), rect.height()};
}

QRectF homeFrame(const std::vector<Windows::Screen>& screens, std::optional<std::size_t> mainScreen,
                 QSizeF expandedSize, QSizeF windowSize)
{
    const QRectF visible =
        mainScreen && *mainScreen < screens.size() ? screens[*mainScreen].visibleFrame : fallbackScreen;
    const QRectF expanded(visible.x() + visible.width() - expandedSize.width() - firstStartMargin,
                          visible.y() + firstStartMargin, expandedSize.width(), expandedSize.height());
    return withTopLeftKept(expanded, windowSize);
}

QString frameText(const QRectF& rect)
{
    const auto number = [](double value) { return QString::number(value, 'g', 6); };
    return QStringLiteral("{{%1, %2}, {%3, %4}}")
        .arg(number(rect.x()), number(rect.y()), number(rect.width()), number(rect.height()));
}

std::optional<QRectF> frameFromText(const QString& text)
{
    static const QRegularExpression numberPattern(
        QStringLiteral(R"([-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?)"));
    double values[4] = {0, 0, 0, 0};
    int found = 0;
    for (auto match = numberPattern.globalMatch(text); match.hasNext() && found < 4; ++found)
        values[found] = match.next().captured().toDouble();
    if (found == 0)
        return std::nullopt;
    return QRectF(values[0], values[1], values[2], values[3]);
}

} // namespace PanelPlacement
