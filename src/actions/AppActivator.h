#pragma once

#include "core/Preferences.h"
#include "platform/AlertPresenter.h"
#include "platform/PlatformWordings.h"
#include "platform/Windows.h"
#include "platform/Workspace.h"

// Carries out an application tile the way clicking the application in the dock would: starts it, or
// brings a running one forward with its minimized windows restored. Main thread only.
class AppActivator {
public:
    struct Services {
        Workspace& workspace;
        Windows& windows;
        Preferences& preferences;
        AlertPresenter& alerts;
        const PlatformWordings& wordings;
    };

    explicit AppActivator(Services services)
        : m_services(services)
    {
    }

    // `path` is the application's ".desktop" file or executable (a bundle on macOS).
    void launch(const QString& path);

    // Explains how to let this program restore other applications' windows, and, where the platform has
    // such a place, offers to open the place where that is allowed.
    void promptForAccess();

private:
    void maybeNudge();
    // Restores the minimized windows of the processes and brings their front window forward; answers
    // whether there was a window to bring forward.
    bool restoreWindows(const std::vector<qint64>& pids);

    Services m_services;
};
