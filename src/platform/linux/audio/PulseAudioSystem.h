#pragma once

#include "core/ProcessRunner.h"
#include "platform/AudioSystem.h"

#include <mutex>

// The sound server's outputs through the `pactl` program, which talks to PulseAudio and to PipeWire's
// PulseAudio service alike. Devices are the server's sinks; its sources (microphones) are never listed.
class PulseAudioSystem final : public AudioSystem {
public:
    // `pactl` is the program's path, empty where it is not installed: every call then answers nothing.
    PulseAudioSystem(ProcessRunner& runner, QString pactl);

    [[nodiscard]] std::vector<Device> devices() const override;
    [[nodiscard]] std::optional<quint32> defaultOutputDevice() const override;
    void setDefaultOutputDevice(quint32 id) override;
    void changeOutputVolume(int percent) override;
    void toggleOutputMute() override;

private:
    [[nodiscard]] std::optional<QString> query(const QStringList& arguments) const;
    void command(const QStringList& arguments) const;

    ProcessRunner& m_runner;
    QString m_pactl;
    mutable std::once_flag m_missingReported;
};
