#pragma once

#include "core/ProcessRunner.h"
#include "platform/AudioInput.h"
#include "platform/linux/audio/PactlSubscription.h"

#include <atomic>

// The default input through the `pactl` program (PulseAudio, or PipeWire's PulseAudio service). A monitor
// source (what an output plays, "….monitor") is never taken for the default input: a server without a
// microphone names one as its default source. A write counts when the source reads as written afterwards.
// Once the default input has been read, `changed` fires only for events on it and on the server (which
// tells when the default changes): the other sources, monitors above all, change all the time.
class PulseAudioInput final : public AudioInput {
    Q_OBJECT
public:
    // `pactl` is the program's path, empty where it is not installed: there is then no default input.
    // `runner` outlives every call; `events` is the sound server's subscription, shared with whoever else
    // follows the server.
    PulseAudioInput(ProcessRunner& runner, QString pactl, std::shared_ptr<PactlSubscription> events,
                    QObject* parent = nullptr);

    [[nodiscard]] std::optional<Input> defaultInput() override;
    [[nodiscard]] bool setMuted(const QString& name, bool muted) override;
    [[nodiscard]] bool setVolume(const QString& name, float volume) override;
    void follow() override;

    // The source called `name` in what `--format=json list sources` printed, and the server's number for
    // it into `index` when asked.
    [[nodiscard]] static std::optional<Input> parse(const QString& name, const QString& sourcesJson,
                                                    std::optional<qint64>* index = nullptr);
    // Whether a line of `pactl subscribe` (in the C locale) tells of a change to the server or to the
    // default input as last read (to any source before the first read).
    [[nodiscard]] bool isInputEvent(QStringView line) const;

private:
    static constexpr qint64 notRead = -1;
    static constexpr qint64 noInput = -2;

    [[nodiscard]] std::optional<Input> source(const QString& name, std::optional<qint64>* index = nullptr);
    [[nodiscard]] std::optional<QString> run(const QStringList& arguments);

    ProcessRunner& m_runner;
    QString m_pactl;
    // The default input's number on the server, `notRead` or `noInput`; written by the blocking calls.
    std::atomic<qint64> m_defaultIndex = notRead;
    std::shared_ptr<PactlSubscription> m_subscription;
};
