#pragma once

#include "platform/AudioSystem.h"

#include <QString>
#include <optional>
#include <vector>

// The audio output devices as the editor offers them and the tiles switch between them. Calls may block
// while the sound server answers.
class AudioOutput {
public:
    struct Device {
        QString uid;
        QString name;
        bool operator==(const Device&) const = default;
    };

    explicit AudioOutput(AudioSystem& system)
        : m_system(system)
    {
    }

    // Devices that can play sound, by name; a device without a name is listed under its identifier.
    [[nodiscard]] std::vector<Device> outputDevices() const;
    [[nodiscard]] std::optional<QString> currentDefaultUID() const;
    // The first device, in the system's order, with exactly this identifier.
    [[nodiscard]] std::optional<quint32> deviceID(const QString& uid) const;
    void makeDefaultOutput(quint32 deviceId) { m_system.setDefaultOutputDevice(deviceId); }

private:
    AudioSystem& m_system;
};
