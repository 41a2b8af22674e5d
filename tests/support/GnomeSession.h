#pragma once

#include "support/EnvironmentGuard.h"

#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// GNOME Shell, headless, as a Wayland compositor with one virtual monitor and XWayland, for the home `home`
// on the test's `PrivateSession` (whose bus stands in for the system bus the shell insists on), with GNOME's
// settings store, dconf, keeping the settings in that home.
// While it lives, the environment names its XWayland display and Wayland socket and says the session is a
// GNOME Wayland one, as a user's programs in such a session see it. The destructor stops the shell and gives
// the environment back.
class GnomeSession final {
public:
    explicit GnomeSession(QString home);
    ~GnomeSession();
    GnomeSession(const GnomeSession&) = delete;
    GnomeSession& operator=(const GnomeSession&) = delete;

    // The programs the session needs that cannot be found, by name; empty when it can start.
    [[nodiscard]] static QStringList missingPrograms();

    // Starts dconf on `bus`, which the private bus would not start by itself; false when it does not start.
    // Settings set after it and before `start` are those the shell starts with.
    [[nodiscard]] bool startSettings(QDBusConnection bus);
    // Starts the shell (and dconf, unless it runs) and waits until its XWayland display takes clients; false,
    // with `error()` saying why, when it does not within a few seconds.
    [[nodiscard]] bool start(QDBusConnection bus);
    [[nodiscard]] const QString& error() const { return m_error; }

    // Starts GNOME's media-keys daemon, which runs the custom keybindings; false when it does not start.
    [[nodiscard]] bool startMediaKeys();
    // Starts the desktop portal with GNOME's backend and the permission store it needs (a real session's bus
    // starts them on demand), and waits until it answers on `bus`; false when it does not within a few
    // seconds.
    [[nodiscard]] bool startPortal(QDBusConnection bus);
    // Sets a GNOME setting as the desktop's settings panel does, through the real `gsettings`.
    [[nodiscard]] bool set(const QString& schema, const QString& key, const QString& value) const;
    // Presses the keys of these evdev codes one after another and lets them go in the opposite order, as a
    // keyboard would, through Mutter's remote desktop interface on `bus`; false when Mutter refuses.
    [[nodiscard]] bool pressKeys(QDBusConnection bus, const std::vector<quint32>& codes);

    // What the screen shows, as the shell's own screenshot saves it, at `pngPath`; false when the shell
    // refuses.
    [[nodiscard]] bool screenshot(QDBusConnection bus, const QString& pngPath);

private:
    bool startShell();
    void stopShell();
    bool leaveOverview(QDBusConnection& bus, const QDeadlineTimer& deadline);
    bool startPortalProgram(const QString& program, QDBusConnection& bus, const QString& name);
    bool fail(const QString& why);

    QString m_home;
    QProcess m_settings;
    QProcess m_shell;
    QProcess m_mediaKeys;
    std::vector<std::unique_ptr<QProcess>> m_portal;
    EnvironmentGuard m_environment;
    QString m_error;
};
