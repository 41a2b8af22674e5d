#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <chrono>

// The real deck program for a home, started as a user's session would start it (the test's display and
// session, no XDG folders of the test's own), in a process group of its own so that a kill takes whatever it
// started along. What it logs goes to a file, so a deck that logs a lot never waits on the test.
class RunningDeck final {
public:
    // `desktop` is what XDG_CURRENT_DESKTOP says to the deck; none when empty.
    RunningDeck(QString program, QString home, QString desktop = {});
    ~RunningDeck();
    RunningDeck(const RunningDeck&) = delete;
    RunningDeck& operator=(const RunningDeck&) = delete;

    // Makes the deck start in the cgroup of this processes file (an `AppScope`'s), as a launcher would.
    void startIn(QString processesFile) { m_processesFile = std::move(processesFile); }
    // Starts the deck and waits until it answers on its channel; false when it does not within `timeout`.
    [[nodiscard]] bool start(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // SIGKILL to the deck and everything it started, then waits for it.
    void kill();
    // Asks the deck to quit, and kills it when it does not.
    void stop();
    [[nodiscard]] bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    [[nodiscard]] bool answers() const;
    [[nodiscard]] qint64 processId() const { return m_process.processId(); }
    // Everything the deck logged since it was first started.
    [[nodiscard]] QByteArray log() const;

private:
    QString m_program;
    QString m_home;
    QString m_desktop;
    QString m_processesFile;
    QTemporaryDir m_logDir;
    QProcess m_process;
};
