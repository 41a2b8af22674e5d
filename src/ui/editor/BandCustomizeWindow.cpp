#include "ui/editor/BandCustomizeWindow.h"

#include "ui/editor/BandCustomizeView.h"
#include "ui/editor/KeptWindow.h"

namespace {

// Room for the default band and a screenful of available modules; the rest scrolls.
constexpr QSize windowSize(420, 560);

} // namespace

BandCustomizeWindow::BandCustomizeWindow(DeckSettings& settings, PhosphorFont& font, const Clock& clock,
                                         QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_font(font)
    , m_clock(clock)
{
}

BandCustomizeWindow::~BandCustomizeWindow() = default;

void BandCustomizeWindow::show()
{
    if (!m_view) {
        m_view = std::make_unique<BandCustomizeView>(m_settings, m_font, m_clock);
        KeptWindow::prepare(*m_view, QStringLiteral("Customize Band"), windowSize);
    }
    KeptWindow::present(*m_view);
}
