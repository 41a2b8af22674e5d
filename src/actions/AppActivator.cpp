#include "AppActivator.h"

#include <QDir>

namespace {

const QString nudgeShownKey = QStringLiteral("shownAccessibilityNudge");

} // namespace

void AppActivator::launch(const QString& path)
{
    const QString standardised = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    const std::vector<qint64> running = m_services.workspace.runningProcessesOf(standardised);
    const bool wasRunning = !running.empty();

    if (!m_services.windows.isAvailable()) {
        if (wasRunning)
            maybeNudge();
    } else if (wasRunning && restoreWindows(running)) {
        // A running application with windows is brought forward, not started a second time.
        return;
    }
    m_services.workspace.launchApplication(standardised);
}

bool AppActivator::restoreWindows(const std::vector<qint64>& pids)
{
    Windows& windows = m_services.windows;
    const std::vector<Windows::WindowId> all = windows.windowsOf(pids);
    if (all.empty())
        return false;
    for (const Windows::WindowId window : all) {
        if (windows.isMinimized(window))
            windows.unminimize(window);
    }
    windows.raise(all.front());
    windows.activate(all.front());
    return true;
}

void AppActivator::maybeNudge()
{
    if (m_services.preferences.boolValue(nudgeShownKey).value_or(false))
        return;
    m_services.preferences.setValue(nudgeShownKey, true);
    promptForAccess();
}

void AppActivator::promptForAccess()
{
    const PlatformWordings& wordings = m_services.wordings;
    if (m_services.alerts.present(wordings.windowAccess) == 0 && wordings.windowAccessOpensSettings)
        m_services.workspace.openWindowAccessSettings();
}
