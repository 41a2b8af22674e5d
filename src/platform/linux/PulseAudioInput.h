#pragma once

#include "core/ProcessRunner.h"
#include "platform/AudioInput.h"
#include "platform/linux/PactlSubscription.h"

// The default input through the `pactl` program (PulseAudio, or PipeWire's PulseAudio service). A monitor
// source (what an output plays, "….monitor") is never taken for the default input: a server without a
// microphone names one as its default source. A write counts when the source reads as written afterwards.
class PulseAudioInput final : public AudioInput {
    Q_OBJECT
public:
    // `pactl` is the program's path, empty where it is not installed: there is then no default input.
    // `runner` outlives every call.
    PulseAudioInput(ProcessRunner& runner, QString pactl, QObject* parent = nullptr);

    [[nodiscard]] std::optional<Input> defaultInput() override;
    [[nodiscard]] bool setMuted(const QString& name, bool muted) override;
    [[nodiscard]] bool setVolume(const QString& name, float volume) override;
    void follow() override;

    // The source called `name` in what `--format=json list sources` printed.
    [[nodiscard]] static std::optional<Input> parse(const QString& name, const QString& sourcesJson);
    // Whether a line of `pactl subscribe` (in the C locale) tells of a change to a source or to the server.
    [[nodiscard]] static bool isInputEvent(QStringView line);

private:
    [[nodiscard]] std::optional<Input> source(const QString& name);
    [[nodiscard]] std::optional<QString> run(const QStringList& arguments);

    ProcessRunner& m_runner;
    QString m_pactl;
    std::shared_ptr<PactlSubscription> m_subscription = PactlSubscription::shared(m_pactl);
};
