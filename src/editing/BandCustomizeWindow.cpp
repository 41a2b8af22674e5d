#include "editing/BandCustomizeWindow.h"

#include "editing/BandCustomizeView.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

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
        m_view->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowCloseButtonHint);
        m_view->setWindowTitle(QStringLiteral("Customize Band"));
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            m_view->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, windowSize,
                                                    screen->availableGeometry()));
    }
    m_view->show();
    m_view->raise();
    m_view->activateWindow();
}
