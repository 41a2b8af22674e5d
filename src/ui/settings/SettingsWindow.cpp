#include "ui/settings/SettingsWindow.h"

#include "core/Logging.h"
#include "ui/editor/KeptWindow.h"
#include "ui/paint/FirstPaint.h"
#include "ui/settings/LayoutPane.h"
#include "ui/settings/MainMenu.h"
#include "ui/settings/SettingsForm.h"
#include "ui/settings/SettingsView.h"

#include <QElapsedTimer>

namespace {

// The panes' width and room for the tallest of them; the rest scrolls.
constexpr QSize windowSize(SettingsForm::paneWidth + 24, 640);

} // namespace

SettingsWindowController::SettingsWindowController(SettingsParts parts, QObject* parent)
    : QObject(parent)
    , m_parts(std::move(parts))
{
}

SettingsWindowController::~SettingsWindowController() = default;

void SettingsWindowController::show(const QString& tab)
{
    QElapsedTimer opening;
    opening.start();
    if (!m_view) {
        m_view = std::make_unique<SettingsView>(m_parts);
        KeptWindow::prepare(*m_view, QStringLiteral("Settings"), windowSize);
        if (m_mainMenu)
            m_mainMenu->serve(m_view.get());
    }
    if (!tab.isEmpty())
        m_view->showTab(tab);
    if (lcSettingsWindow().isDebugEnabled() && !m_view->isVisible()) {
        m_firstPaint = std::make_unique<FirstPaint>(
            [opening] {
                qCDebug(lcSettingsWindow).noquote()
                    << "Marquetto: settings painted"
                    << QString::number(double(opening.nsecsElapsed()) / 1e6, 'f', 1)
                    << "ms after they were asked for";
            },
            FirstPaint::Run::afterThePaint, m_view.get());
    }
    KeptWindow::present(*m_view);
}

bool SettingsWindowController::isOpen() const
{
    return m_view && m_view->isVisible();
}

QString SettingsWindowController::currentTab() const
{
    return m_view ? m_view->currentTitle() : QString();
}

void SettingsWindowController::reloadBackups()
{
    if (m_view)
        m_view->layoutPane().reloadBackups();
}
