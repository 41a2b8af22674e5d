#pragma once

#include "support/EnvironmentGuard.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

// A real sound server for the home `home` of the test's own session: PipeWire, its session manager
// WirePlumber and its PulseAudio service, in the runtime folder of the `PrivateSession` that must live around
// it. While it lives, the environment names it as the session's sound server, so programs started meanwhile
// use it; the destructor stops the three and gives the environment back.
class PipeWireServer final {
public:
    explicit PipeWireServer(QString home);
    ~PipeWireServer();
    PipeWireServer(const PipeWireServer&) = delete;
    PipeWireServer& operator=(const PipeWireServer&) = delete;

    // The programs the server needs that cannot be found, by name; empty when it can start.
    [[nodiscard]] static QStringList missingPrograms();

    // Starts the three and waits until the PulseAudio service answers; false, with `error()` saying why,
    // when it does not within a few seconds.
    [[nodiscard]] bool start();
    [[nodiscard]] const QString& error() const { return m_error; }
    // Stops the PulseAudio service and starts it again, as a restart of the user's sound services does; the
    // sinks and sources added through it go with it. False when it does not answer again.
    [[nodiscard]] bool restartPulseService();

    // What `pactl` printed for `arguments`, or nothing when it failed.
    [[nodiscard]] std::optional<QString> pactl(const QStringList& arguments) const;
    // A null sink named `name`, shown as `description`, once the server lists it; false when the server
    // refused it or never listed it.
    [[nodiscard]] bool addSink(const QString& name, const QString& description) const;
    // A null source, a microphone that hears nothing, once the server lists it; false as for a sink.
    [[nodiscard]] bool addSource(const QString& name, const QString& description) const;

private:
    bool startProgram(const QString& name);
    bool waitForPulseService();
    // `pactl list short <kind>` has a line for `name`.
    [[nodiscard]] bool lists(const QString& kind, const QString& name) const;
    bool fail(const QString& why);

    QString m_home;
    std::vector<std::unique_ptr<QProcess>> m_programs;
    EnvironmentGuard m_environment;
    QString m_error;
};
