#include "SystemActions.h"

void SystemActions::run(SystemAction action)
{
    switch (action) {
    case SystemAction::volumeUp:
        return m_controls.volumeUp();
    case SystemAction::volumeDown:
        return m_controls.volumeDown();
    case SystemAction::muteToggle:
        return m_controls.toggleMute();
    case SystemAction::darkModeToggle:
        return m_controls.toggleDarkMode();
    case SystemAction::lockScreen:
        return m_controls.lockScreen();
    case SystemAction::sleep:
        return m_controls.sleep();
    case SystemAction::snapLeft:
        m_snap.snap(WindowSnap::Position::left);
        return;
    case SystemAction::snapRight:
        m_snap.snap(WindowSnap::Position::right);
        return;
    case SystemAction::snapFull:
        m_snap.snap(WindowSnap::Position::full);
        return;
    case SystemAction::snapCentre:
        m_snap.snap(WindowSnap::Position::centre);
        return;
    }
}
