#pragma once

#include "EnvironmentGuard.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <memory>

class QProcess;

// A private X server (Xvfb) on a free display, with the openbox window manager and no panels, for tests that
// need real windows. `start()` waits until the window manager runs and points DISPLAY at the display; the
// destructor stops both programs and gives DISPLAY its old value back.
class XvfbSession final {
public:
    struct Options {
        QSize screen{1280, 800};
        bool windowManager = true;
    };

    XvfbSession();
    explicit XvfbSession(Options options);
    ~XvfbSession();
    XvfbSession(const XvfbSession&) = delete;
    XvfbSession& operator=(const XvfbSession&) = delete;

    // The programs a session needs that cannot be found, by name; empty when it can start.
    [[nodiscard]] static QStringList missingPrograms(bool windowManager = true);

    // Starts the server, then the window manager; false, with `error()` saying why, when they are not up
    // within `timeout`.
    [[nodiscard]] bool start(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    void stop();
    [[nodiscard]] const QString& error() const { return m_error; }
    [[nodiscard]] const QByteArray& display() const { return m_display; } // ":N"

    // For tests of a server that stops answering (SIGSTOP, SIGCONT) or goes away.
    void suspendServer();
    void resumeServer();
    void killServer();

private:
    bool startServer(const QDeadlineTimer& deadline);
    bool startWindowManager(const QDeadlineTimer& deadline);
    bool fail(const QString& why);

    Options m_options;
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_windowManager;
    QByteArray m_display;
    EnvironmentGuard m_environment;
    bool m_suspended = false;
    QString m_error;
};
