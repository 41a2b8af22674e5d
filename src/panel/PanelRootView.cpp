#include "panel/PanelRootView.h"

#include "model/Settings.h"
#include "panel/PanelChrome.h"

PanelRootView::PanelRootView(Services services, bool translucent, QWidget* parent)
    : QWidget(parent)
    , m_settings(services.deck.settings)
    , m_chrome(services.chrome)
    , m_deck(new DeckView(services.deck, this))
    , m_chip(new ChipView(services.deck.settings, this))
{
    setAttribute(Qt::WA_TranslucentBackground, translucent);
    m_deck->setOpaque(!translucent);
    m_deck->move(0, 0);
    m_chip->move(0, 0);
    connect(&m_chrome, &PanelChromeState::expandedChanged, this, &PanelRootView::showChipOrDeck);
    connect(&m_settings, &DeckSettings::compactChanged, this, &PanelRootView::showChipOrDeck);
    showChipOrDeck();
}

void PanelRootView::showChipOrDeck()
{
    const bool showDeck = !m_settings.isCompact() || m_chrome.isExpanded();
    m_showsDeck = showDeck;
    m_deck->setVisible(showDeck);
    m_chip->setVisible(!showDeck);
    QWidget* shown = showDeck ? static_cast<QWidget*>(m_deck) : m_chip;
    shown->resize(shown->sizeHint());
    resize(shown->sizeHint());
    updateGeometry();
}

QSize PanelRootView::sizeHint() const
{
    return m_showsDeck ? m_deck->sizeHint() : m_chip->sizeHint();
}
