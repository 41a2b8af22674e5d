#include "ui/deck/PanelRootView.h"

#include "deck/PanelChrome.h"
#include "deck/Spring.h"
#include "model/Settings.h"

#include <QPainter>
#include <algorithm>

PanelRootView::PanelRootView(Services services, bool translucent, QWidget* parent)
    : QWidget(parent)
    , m_settings(services.deck.settings)
    , m_chrome(services.chrome)
    , m_deck(new DeckView(services.deck, this))
    , m_chip(new ChipView(services.deck.settings, this))
    , m_frames(services.deck.frames, [this] { advanceSwitch(); })
{
    setAttribute(Qt::WA_TranslucentBackground, translucent);
    m_deck->setOpaque(!translucent);
    m_deck->move(0, 0);
    m_chip->move(0, 0);
    connect(&m_chrome, &PanelChromeState::expandedChanged, this, &PanelRootView::showChipOrDeck);
    connect(&m_settings, &DeckSettings::compactChanged, this, &PanelRootView::showChipOrDeck);
    connect(&m_chrome, &PanelChromeState::tintChanged, this, &PanelRootView::applyTint);
    applyTint();
    m_showsDeck = !m_settings.isCompact() || m_chrome.isExpanded();
    finishSwitch();
}

void PanelRootView::applyTint()
{
    const auto rgb = m_chrome.tint();
    const std::optional<QColor> tint = rgb ? std::optional(QColor::fromRgb(*rgb)) : std::nullopt;
    m_deck->setWallpaperTint(tint);
    m_chip->setWallpaperTint(tint);
}

QWidget* PanelRootView::shownView() const
{
    return m_showsDeck ? static_cast<QWidget*>(m_deck) : m_chip;
}

void PanelRootView::showChipOrDeck()
{
    const bool showDeck = !m_settings.isCompact() || m_chrome.isExpanded();
    if (showDeck == m_showsDeck)
        return;
    QWidget* outgoing = shownView();
    m_showsDeck = showDeck;
    if (!isVisible()) {
        finishSwitch();
        return;
    }
    QWidget* incoming = shownView();
    incoming->resize(incoming->sizeHint());
    m_switch = Switch{outgoing->grab(), incoming->grab(), showDeck, m_frames.now()};
    m_deck->hide();
    m_chip->hide();
    // Room for both while they cross; the window itself grows before and shrinks after.
    resize(m_deck->sizeHint().expandedTo(m_chip->sizeHint()));
    m_frames.start();
    update();
}

void PanelRootView::advanceSwitch()
{
    if (!m_switch)
        return;
    if (switchSeconds() >= Spring::settleTime(springResponse, springDamping)) {
        finishSwitch();
        return;
    }
    update();
}

void PanelRootView::finishSwitch()
{
    m_switch.reset();
    m_frames.stop();
    m_deck->setVisible(m_showsDeck);
    m_chip->setVisible(!m_showsDeck);
    QWidget* shown = shownView();
    shown->resize(shown->sizeHint());
    resize(shown->sizeHint());
    updateGeometry();
    update();
}

void PanelRootView::paintEvent(QPaintEvent*)
{
    if (!m_switch)
        return;
    const double progress = Spring::progress(switchSeconds(), springResponse, springDamping);
    const double incomingFrom = m_switch->toDeck ? deckScaleFrom : chipScaleFrom;
    const double outgoingTo = m_switch->toDeck ? chipScaleFrom : deckScaleFrom;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    auto draw = [&painter](const QPixmap& view, double scale, double opacity) {
        painter.setOpacity(std::clamp(opacity, 0.0, 1.0));
        const QSizeF size = QSizeF(view.size()) / view.devicePixelRatio() * std::max(scale, 0.0);
        painter.drawPixmap(QRectF(QPointF(0, 0), size), view, QRectF(view.rect()));
    };
    draw(m_switch->outgoing, 1 + (outgoingTo - 1) * progress, 1 - progress);
    draw(m_switch->incoming, incomingFrom + (1 - incomingFrom) * progress, progress);
}

double PanelRootView::switchSeconds() const
{
    return m_switch ? m_frames.now() - m_switch->start : 0;
}

QSize PanelRootView::sizeHint() const
{
    if (m_switch)
        return m_deck->sizeHint().expandedTo(m_chip->sizeHint());
    return shownView()->sizeHint();
}
