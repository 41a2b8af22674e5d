#include "platform/ServiceRegistry.h"
#include "platform/linux/BluezBluetooth.h"
#include "platform/linux/LinuxSystemControls.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/PulseAudioSystem.h"
#include "platform/linux/X11Windows.h"

#include <QDBusConnection>
#include <QStandardPaths>

PlatformServices createPlatformServices(const AppPaths& paths)
{
    PlatformServices services;
    services.paths = paths;
    ProcessRunner& processes = *services.processes;
    services.workspace = std::make_unique<LinuxWorkspace>(paths, processes);
    services.createWindows = [] { return createX11Windows(); };
    const QString pactl = QStandardPaths::findExecutable(QStringLiteral("pactl"));
    services.audio = std::make_unique<PulseAudioSystem>(processes, pactl);
    services.bluetooth = std::make_unique<BluezBluetooth>(QDBusConnection::systemBus());
    const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    services.systemControls = std::make_unique<LinuxSystemControls>(*services.audio, processes, gsettings,
                                                                    QDBusConnection::systemBus());
    return services;
}
