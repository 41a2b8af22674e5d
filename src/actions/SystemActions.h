#pragma once

#include "actions/WindowSnap.h"
#include "model/SystemAction.h"
#include "platform/SystemControls.h"

// Runs the built-in system actions: the machine-wide controls, and window placement. Main thread only.
class SystemActions {
public:
    SystemActions(SystemControls& controls, WindowSnap& snap)
        : m_controls(controls)
        , m_snap(snap)
    {
    }

    void run(SystemAction action);

private:
    SystemControls& m_controls;
    WindowSnap& m_snap;
};
