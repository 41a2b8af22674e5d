#pragma once

#include "platform/HotKeys.h"

#include <QString>
#include <memory>

// The way the deck's global keys reach it on the desktop it runs on, chosen once at start-up.
namespace DesktopHotKeys {

// What the session's environment says about it.
struct Session {
    QString sessionType;    // XDG_SESSION_TYPE
    QString waylandDisplay; // WAYLAND_DISPLAY
    QString currentDesktop; // XDG_CURRENT_DESKTOP
};

[[nodiscard]] Session fromEnvironment();
// On Wayland an X11 key grab only sees keys while an X11 window has the focus, which is almost never.
[[nodiscard]] bool isWayland(const Session& session);
[[nodiscard]] HotKeyMechanism mechanism(const Session& session, bool portalOffered);

// The hot keys of the mechanism the session calls for; says which in one log line. Asks the session bus
// about the portal on Wayland, waiting a short while at most.
[[nodiscard]] std::unique_ptr<GlobalHotKeys> create();

} // namespace DesktopHotKeys
