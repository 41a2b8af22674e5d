#include "deck/TileTooltip.h"

#include "model/Settings.h"

#include <algorithm>
#include <cmath>
#include <utility>

TileHoverState::TileHoverState(QObject* parent)
    : QObject(parent)
{
    m_pendingTimer.setSingleShot(true);
    m_pendingTimer.setInterval(delayMs);
    connect(&m_pendingTimer, &QTimer::timeout, this, &TileHoverState::showPending);
}

void TileHoverState::schedule(const QString& text, const Anchor& anchor)
{
    m_pendingTimer.stop();
    m_pending.reset();
    if (text.isEmpty())
        return;
    m_pending = Tip{text, anchor};
    m_pendingTimer.start();
}

void TileHoverState::clear()
{
    m_pendingTimer.stop();
    m_pending.reset();
    if (!m_tip)
        return;
    m_tip.reset();
    Q_EMIT tipChanged();
}

void TileHoverState::showPending()
{
    m_pendingTimer.stop();
    if (!m_pending)
        return;
    const bool changed = m_tip != m_pending;
    m_tip = std::exchange(m_pending, std::nullopt);
    if (changed)
        Q_EMIT tipChanged();
}

namespace TileTooltipLayout {

namespace {

constexpr double horizontalPadding = 8;
constexpr double verticalPadding = 5;
constexpr double deckInset = 4;

} // namespace

QSizeF size(QSizeF measuredText)
{
    const bool wraps = measuredText.width() > maxTextWidth;
    return {std::ceil(std::min(measuredText.width(), maxTextWidth)) + 2 * horizontalPadding,
            std::ceil(measuredText.height() * (wraps ? 2 : 1)) + 2 * verticalPadding};
}

QPointF placement(const TileHoverState::Anchor& anchor, QSizeF bubble, const DeckSettings& settings)
{
    const double side = settings.tileSide();
    const double gap = settings.tileGap();
    const double padding = settings.tilePadding();
    const int columns = settings.gridColumns();

    QPointF centre;
    if (const auto* tile = std::get_if<TileHoverState::TileAnchor>(&anchor)) {
        centre = {padding + side / 2 + (side + gap) * tile->column,
                  padding + side / 2 + (side + gap) * tile->row};
    } else {
        const auto& point = std::get<TileHoverState::PointAnchor>(anchor);
        centre = {point.x, point.y};
    }
    const double deckWidth = side * columns + gap * (columns - 1) + 2 * padding;
    // min after max: on a deck narrower than the bubble the right inset wins, as the bubble is clipped
    // anyway.
    const double left = std::min(std::max(deckInset, centre.x() - bubble.width() / 2),
                                 deckWidth - bubble.width() - deckInset);
    return {left, centre.y() - bubble.height() / 2};
}

} // namespace TileTooltipLayout
