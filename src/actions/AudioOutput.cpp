#include "AudioOutput.h"

#include "core/DeviceOrder.h"

std::vector<AudioOutput::Device> AudioOutput::outputDevices() const
{
    std::vector<Device> outputs;
    for (const AudioSystem::Device& device : m_system.devices()) {
        if (!device.hasOutput || device.uid.isEmpty())
            continue;
        outputs.push_back({device.uid, device.name.isEmpty() ? device.uid : device.name});
    }
    sortByName(outputs);
    return outputs;
}

std::optional<QString> AudioOutput::currentDefaultUID() const
{
    // Every number is a device: PulseAudio counts its sinks from 0.
    const std::optional<quint32> id = m_system.defaultOutputDevice();
    if (!id)
        return std::nullopt;
    for (const AudioSystem::Device& device : m_system.devices()) {
        if (device.id == *id)
            return device.uid.isEmpty() ? std::nullopt : std::optional(device.uid);
    }
    return std::nullopt;
}

std::optional<quint32> AudioOutput::deviceID(const QString& uid) const
{
    for (const AudioSystem::Device& device : m_system.devices()) {
        if (device.uid == uid)
            return device.id;
    }
    return std::nullopt;
}
