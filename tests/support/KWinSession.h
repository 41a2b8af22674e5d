#pragma once

#include "support/EnvironmentGuard.h"

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

// KDE Plasma's compositor, KWin, headless, with one virtual screen and XWayland, for the home `home` on the
// test's `PrivateSession`. KWin also runs Plasma's global shortcuts (kglobalaccel). While it lives, the
// environment names its XWayland display and Wayland socket and says the session is a KDE Wayland one, as a
// user's programs in such a session see it. The destructor stops everything it started and gives the
// environment back.
class KWinSession final {
public:
    explicit KWinSession(QString home);
    ~KWinSession();
    KWinSession(const KWinSession&) = delete;
    KWinSession& operator=(const KWinSession&) = delete;

    // The programs the session needs that cannot be found, by name; empty when it can start.
    [[nodiscard]] static QStringList missingPrograms();

    // Starts KWin and waits until its XWayland display takes clients; false, with `error()` saying why, when
    // it does not within a few seconds.
    [[nodiscard]] bool start();
    [[nodiscard]] const QString& error() const { return m_error; }
    // Starts the desktop portal with Plasma's backend, and waits until it answers on `bus`; false when it
    // does not within a few seconds.
    [[nodiscard]] bool startPortal(QDBusConnection bus);
    // The global shortcuts kglobalaccel keeps for the program of `appId`, by name, as Plasma's settings list
    // them: the portal binds a program's shortcuts in a component named after its app id.
    [[nodiscard]] static QStringList shortcutsOf(QDBusConnection bus, const QString& appId);
    // Fires the shortcut `name` of the program of `appId` as kglobalaccel does when its keys are pressed;
    // false when kglobalaccel has no such shortcut.
    [[nodiscard]] static bool invokeShortcut(QDBusConnection bus, const QString& appId, const QString& name);
    // What the screen shows, as KWin's own screenshot takes it, as a PNG file at `pngPath`; false when KWin
    // refuses.
    [[nodiscard]] bool screenshot(QDBusConnection bus, const QString& pngPath);

private:
    bool fail(const QString& why);

    QString m_home;
    QTemporaryDir m_programs;
    QProcess m_kwin;
    std::vector<std::unique_ptr<QProcess>> m_portal;
    EnvironmentGuard m_environment;
    QString m_error;
};
