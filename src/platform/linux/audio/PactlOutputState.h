#pragma once

#include "core/ProcessRunner.h"
#include "core/ReadOrder.h"
#include "platform/TileStateSources.h"
#include "platform/linux/audio/PactlSubscription.h"

#include <QObject>
#include <functional>
#include <optional>

// The default sound output and its mute, through the `pactl` program (PulseAudio, or PipeWire's PulseAudio
// service). The first read starts a `pactl subscribe` child; while it runs, reads answer what the last query
// found and the server's sink and server events start a new query in the background. Without the child,
// every read queries, and a child queries once when it begins to listen, for what changed while it connected.
// A missing program or server reads as no default and no mute.
//
// Main thread only; `changed` fires when a query after an event finds other values than before.
class PactlOutputState final : public QObject {
    Q_OBJECT
public:
    using Output = TileStateSources::Output;

    // `pactl` is the program's path, empty where it is not installed; `runner` outlives the queries;
    // `events` is the sound server's subscription, shared with whoever else follows the server.
    PactlOutputState(ProcessRunner& runner, QString pactl, std::shared_ptr<PactlSubscription> events,
                     QObject* parent = nullptr);

    void read(std::function<void(Output)> answer);

    // The state `get-default-sink` and `--format=json list sinks` print; off values for what they lack.
    [[nodiscard]] static Output parse(const QString& defaultSink, const QString& sinksJson);
    // Whether a line of `pactl subscribe` (in the C locale) tells of a change to a sink or to the server.
    [[nodiscard]] static bool isOutputEvent(QStringView line);

Q_SIGNALS:
    void changed();

private:
    void follow();
    void readEvent(const QString& line);
    // Answers `done` with what the query found, or with what a later one found when that one answered first.
    void query(std::function<void(Output)> done);
    void queryAfterEvent();
    [[nodiscard]] Output newest(quint64 issued, const Output& output);

    ProcessRunner& m_runner;
    QString m_pactl;
    std::shared_ptr<PactlSubscription> m_subscription;
    std::optional<Output> m_last;
    bool m_queryingAfterEvent = false;
    bool m_eventWhileQuerying = false;
    ReadOrder m_queries;
};
