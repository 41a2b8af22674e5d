#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QProcess>
#include <QTimer>
#include <chrono>
#include <memory>

// One long-lived `pactl subscribe` child (PulseAudio, or PipeWire's PulseAudio service), whose lines tell of
// every change on the sound server. A child that ends while the server's socket is missing is started again
// once the socket appears, which the file system tells: a machine without a sound server is never woken for
// it. Otherwise (the server restarted, hung, or is reached over the network) it is started again after
// `restartDelay`, and after twice as long each time it ends again without having said anything, up to
// `longestRestartDelay`.
//
// pactl says nothing once it has subscribed, so a child counts as listening once it has run for `settle`:
// changes made while it was still connecting, or while no child ran, may have passed unseen, and whoever
// follows the server asks again then.
//
// Main thread only. `eventLine` fires for each line, in the C locale; `ended` when the child goes away, after
// which changes may pass unseen; `listening` when a started child has run for `settle`.
class PactlSubscription final : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::seconds restartDelay{1};
    static constexpr std::chrono::seconds longestRestartDelay{80};
    static constexpr std::chrono::milliseconds settleDelay{1000};

    // `pactl` is the program's path, never empty.
    explicit PactlSubscription(QString pactl, std::chrono::milliseconds settle = settleDelay,
                               QObject* parent = nullptr);
    ~PactlSubscription() override;

    // Starts the child unless it runs or waits to be restarted.
    void start();
    [[nodiscard]] bool isRunning() const { return m_child.state() == QProcess::Running; }
    // Whether it waits for the server's socket to appear.
    [[nodiscard]] bool waitsForServer() const { return !m_watch.directories().isEmpty(); }

    // The local socket the server listens on, from `PULSE_SERVER` ("unix:" and a path) or else the runtime
    // folders; empty for a server elsewhere or where no folder says.
    [[nodiscard]] static QString serverSocket();

    // The restart timer's handler.
    void restart();
    // The settle timer's handler.
    void settled();

Q_SIGNALS:
    void eventLine(const QString& line);
    void ended();
    void listening();

private:
    void readLines();
    void childGone();
    // Watches the nearest existing folder on the way to `socket`; false where none is there to watch.
    bool watchFor(const QString& socket);
    void folderChanged();

    QString m_pactl;
    QProcess m_child;
    QTimer m_restart;
    QTimer m_settle;
    QFileSystemWatcher m_watch;
    int m_silentEnds = 0;
};
