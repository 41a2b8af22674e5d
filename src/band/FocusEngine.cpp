#include "band/FocusEngine.h"

FocusEngine::FocusEngine(DoNotDisturb& system, QObject* parent)
    : QObject(parent)
    , m_system(system)
{
    m_timer.setInterval(pollInterval);
    m_firstRecheck.setSingleShot(true);
    m_firstRecheck.setInterval(firstRecheck);
    m_secondRecheck.setSingleShot(true);
    m_secondRecheck.setInterval(secondRecheck);
    for (QTimer* timer : {&m_timer, &m_firstRecheck, &m_secondRecheck})
        connect(timer, &QTimer::timeout, this, &FocusEngine::poll);
    connect(&m_system, &DoNotDisturb::changed, this, [this] {
        if (m_running)
            poll();
    });
}

void FocusEngine::start()
{
    if (m_running)
        return;
    m_running = true;
    poll();
    refreshShortcuts();
    if (!m_system.follow())
        m_timer.start();
}

void FocusEngine::stop()
{
    if (!m_running)
        return;
    m_running = false;
    m_timer.stop();
    m_system.stopFollowing();
}

void FocusEngine::poll()
{
    m_system.read(this, [this, read = ++m_latestRead](DoNotDisturb::Reading reading) {
        if (read == m_latestRead)
            apply(reading);
    });
}

void FocusEngine::refreshShortcuts()
{
    m_system.checkReady(this, [this](bool ready) {
        if (ready == m_shortcutReady)
            return;
        m_shortcutReady = ready;
        Q_EMIT shortcutReadyChanged(ready);
    });
}

void FocusEngine::toggleDND()
{
    if (!m_shortcutReady) {
        Q_EMIT setupRequested();
        return;
    }
    if (!m_system.turn(!m_focusActive))
        return;
    ++m_latestRead;
    publishActive(!m_focusActive);
    m_firstRecheck.start();
    m_secondRecheck.start();
}

void FocusEngine::openFullDiskAccessSettings()
{
    m_system.openAccessSettings();
}

void FocusEngine::apply(DoNotDisturb::Reading reading)
{
    if (reading.needsAccess != m_needsAccess) {
        m_needsAccess = reading.needsAccess;
        Q_EMIT needsAccessChanged(m_needsAccess);
    }
    if (reading.active)
        publishActive(*reading.active);
}

void FocusEngine::publishActive(bool active)
{
    if (active == m_focusActive)
        return;
    m_focusActive = active;
    Q_EMIT focusActiveChanged(active);
}
