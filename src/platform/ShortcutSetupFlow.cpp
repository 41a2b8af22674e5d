#include "platform/ShortcutSetupFlow.h"

#include "core/BackgroundQueue.h"
#include "platform/KeyboardShortcutTexts.h"

ShortcutSetupFlow::ShortcutSetupFlow(Services services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services))
{
}

std::vector<ShortcutSetupFlow::Item> ShortcutSetupFlow::items()
{
    if (!m_services.offered || !m_services.offered())
        return {};
    if (!m_looked)
        refresh();
    std::vector<Item> items{{QStringLiteral("Set Up Keyboard Shortcuts…"), !m_busy, [this] { setUp(); }}};
    if (m_installed)
        items.push_back({QStringLiteral("Remove Keyboard Shortcuts"), !m_busy, [this] { remove(); }});
    return items;
}

void ShortcutSetupFlow::refresh()
{
    m_looked = true;
    BackgroundQueue::runThenReport<KeyboardShortcutSetup::Status>(
        this, [&setup = m_services.setup] { return setup.installed(); },
        [this](const KeyboardShortcutSetup::Status& status) {
            m_installed = !status.installed.isEmpty();
            Q_EMIT changed();
        });
}

void ShortcutSetupFlow::setUp()
{
    if (m_busy)
        return;
    m_busy = true;
    BackgroundQueue::runThenReport<KeyboardShortcutSetup::SetUpReport>(
        this,
        [&setup = m_services.setup, companion = m_services.companion] { return setup.setUp(companion()); },
        [this](const KeyboardShortcutSetup::SetUpReport& report) {
            finish(m_installed || !report.added.isEmpty() || !report.alreadyThere.isEmpty());
            static_cast<void>(m_services.alerts.present(KeyboardShortcutTexts::setUpAlert(report)));
        });
}

void ShortcutSetupFlow::remove()
{
    if (m_busy)
        return;
    m_busy = true;
    BackgroundQueue::runThenReport<KeyboardShortcutSetup::RemoveReport>(
        this, [&setup = m_services.setup] { return setup.remove(); },
        [this](const KeyboardShortcutSetup::RemoveReport& report) {
            finish(m_installed && !report.failure.isEmpty());
            static_cast<void>(m_services.alerts.present(KeyboardShortcutTexts::removeAlert(report)));
        });
}

void ShortcutSetupFlow::finish(bool installed)
{
    m_busy = false;
    m_installed = installed;
    Q_EMIT changed();
}
