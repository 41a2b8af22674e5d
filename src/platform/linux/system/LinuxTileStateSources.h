#pragma once

#include "core/ProcessRunner.h"
#include "platform/TileStateSources.h"
#include "platform/linux/appearance/DesktopColourScheme.h"
#include "platform/linux/audio/PactlOutputState.h"
#include "platform/linux/dbus/LazyDBusConnection.h"
#include "platform/linux/desktop/ProgramScanner.h"
#include "platform/linux/system/BluezConnections.h"

#include <QTimer>
#include <chrono>
#include <memory>

// The tile lights' state on a Linux desktop: processes from the proc file system, Bluetooth from BlueZ, the
// output from `pactl`, the colour scheme from the desktop portal or GNOME. While applications are followed, a
// check every 2 s (in the background) reports launches and exits among them.
class LinuxTileStateSources final : public TileStateSources {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds checkInterval{2000};

    struct Programs {
        QString pactl;     // empty where not installed
        QString gsettings; // empty where not installed
        QString procRoot = QStringLiteral("/proc");
    };

    // `runner` outlives this object and its background work; `soundEvents` is the sound server's
    // subscription; `system` is where BlueZ is, `session` where the desktop portal is.
    LinuxTileStateSources(ProcessRunner& runner, Programs programs,
                          std::shared_ptr<PactlSubscription> soundEvents, LazyDBusConnection system,
                          LazyDBusConnection session, QObject* parent = nullptr);

    // The output through its `pactl subscribe` child, the appearance through the portal or `gsettings
    // monitor`.
    [[nodiscard]] Reports reports() const override { return {.output = true, .darkMode = true}; }
    void readConnectedBluetooth(std::function<void(QSet<QString>)> answer) override;
    void readOutput(std::function<void(Output)> answer) override;
    void readDarkMode(std::function<void(bool)> answer) override;
    void readRunningApplications(const QStringList& paths,
                                 std::function<void(QSet<QString>)> answer) override;
    void followApplications(const QStringList& paths) override;

    // The check timer's handler: one pass in the background; `applicationsChanged` when its result differs
    // from the last pass's, and after the first pass since the followed paths changed.
    void checkApplications();
    [[nodiscard]] const QTimer& checkTimer() const { return m_checkTimer; }
    [[nodiscard]] bool isChecking() const { return m_checking; }

private:
    std::shared_ptr<ProgramScanner> m_scanner;
    BluezConnections m_bluetooth;
    PactlOutputState m_output;
    DesktopColourScheme m_colourScheme;
    QStringList m_followed;
    std::optional<QSet<QString>> m_lastCheck;
    bool m_checking = false;
    QTimer m_checkTimer;
};
