#include "platform/linux/hotkeys/DesktopHotKeys.h"

#include "core/Logging.h"
#include "platform/linux/appearance/GnomeReduceMotion.h"
#include "platform/linux/hotkeys/PortalGlobalShortcuts.h"
#include "platform/linux/hotkeys/X11HotKeys.h"

#include <QDBusConnection>

namespace {

// A running portal answers within milliseconds; the deck is on screen already and waits for nothing else.
constexpr std::chrono::milliseconds portalProbeTimeout{500};

} // namespace

DesktopHotKeys::Session DesktopHotKeys::fromEnvironment()
{
    return {qEnvironmentVariable("XDG_SESSION_TYPE"), qEnvironmentVariable("WAYLAND_DISPLAY"),
            qEnvironmentVariable("XDG_CURRENT_DESKTOP")};
}

bool DesktopHotKeys::isWayland(const Session& session)
{
    if (session.sessionType.compare(QLatin1String("x11"), Qt::CaseInsensitive) == 0)
        return false;
    return session.sessionType.compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0 ||
           !session.waylandDisplay.isEmpty();
}

HotKeyMechanism DesktopHotKeys::mechanism(const Session& session, bool portalOffered)
{
    if (!isWayland(session))
        return HotKeyMechanism::x11;
    if (portalOffered)
        return HotKeyMechanism::portal;
    return GnomeReduceMotion::isGnome(session.currentDesktop) ? HotKeyMechanism::gnomeKeybindings
                                                              : HotKeyMechanism::none;
}

std::unique_ptr<GlobalHotKeys> DesktopHotKeys::create()
{
    const Session session = fromEnvironment();
    const std::optional<unsigned> portalVersion =
        isWayland(session)
            ? PortalGlobalShortcuts::offeredVersion(QDBusConnection::sessionBus(), portalProbeTimeout)
            : std::nullopt;
    const HotKeyMechanism chosen = mechanism(session, portalVersion.has_value());
    const QString through = hotKeyMechanismNames.title(chosen);
    switch (chosen) {
    case HotKeyMechanism::x11:
        qCInfo(lcPlatform).noquote() << "Marquetto: global keys through" << through;
        return createX11HotKeys();
    case HotKeyMechanism::portal:
        qCInfo(lcPlatform).noquote() << "Marquetto: global keys through" << through
                                     << QStringLiteral("(version %1)").arg(*portalVersion);
        return std::make_unique<PortalGlobalShortcuts>(QDBusConnection::sessionBus());
    case HotKeyMechanism::gnomeKeybindings:
        qCInfo(lcPlatform).noquote() << "Marquetto: global keys through" << through
                                     << "(this Wayland session has no global shortcuts portal)";
        return std::make_unique<NullGlobalHotKeys>(chosen);
    case HotKeyMechanism::none:
        break;
    }
    qCWarning(lcPlatform).noquote()
        << "Marquetto: global keys are off: this Wayland session has no global shortcuts portal and no"
           " desktop shortcuts we know how to set up";
    return std::make_unique<NullGlobalHotKeys>();
}
