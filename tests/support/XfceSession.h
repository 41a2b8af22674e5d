#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// Xfce's own programs for the home `home` on the test's X server and session bus: its settings daemon
// (xfconfd, which a real session's bus starts on demand), its window manager xfwm4 without compositing, its
// desktop xfdesktop and, when asked, its panel. The `XvfbSession`, started without a window manager, and the
// `PrivateSession` must live around it; the destructor stops them.
class XfceSession final {
public:
    explicit XfceSession(QString home);
    ~XfceSession();
    XfceSession(const XfceSession&) = delete;
    XfceSession& operator=(const XfceSession&) = delete;

    // The programs the session needs that cannot be found, by name; empty when it can start.
    [[nodiscard]] static QStringList missingPrograms();

    // Starts the three and waits until the window manager manages the screen and the settings answer;
    // false, with `error()` saying why, when they do not within a few seconds.
    [[nodiscard]] bool start();
    [[nodiscard]] const QString& error() const { return m_error; }

    // Starts Xfce's panel along the top of the screen with its notification area alone, which hosts both
    // kinds of tray icons (StatusNotifier items on the bus and XEmbed windows), and waits until it hosts them
    // on `bus`; false when it does not within a few seconds.
    [[nodiscard]] bool startPanel(QDBusConnection bus);
    // Shows `picture` on a workspace of a monitor, as Xfce's desktop settings do.
    [[nodiscard]] bool setWallpaper(const QString& monitor, int workspace, const QString& picture) const;

private:
    bool startProgram(const QString& program, const QStringList& arguments);
    [[nodiscard]] bool xfconfQuery(const QStringList& arguments) const;
    bool fail(const QString& why);

    QString m_home;
    std::vector<std::unique_ptr<QProcess>> m_programs;
    QString m_error;
};
