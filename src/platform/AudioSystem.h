#pragma once

#include <QString>
#include <optional>
#include <vector>

// The sound server's output devices and the default output's volume.
//
// Every call may block while the sound server answers (a few milliseconds; the implementation gives up
// after a short timeout). Call from any thread; calls are independent of each other.
class AudioSystem {
public:
    struct Device {
        quint32 id = 0; // the server's number for the device, 0 included; valid while the device is present
        QString uid;    // persistent unique identifier; what a tile stores
        QString name;   // for display; empty when the device has none
        bool hasOutput = false;
        bool operator==(const Device&) const = default;
    };

    virtual ~AudioSystem() = default;

    // Every device the server knows, in the server's order. Empty when there is no sound server.
    [[nodiscard]] virtual std::vector<Device> devices() const = 0;
    // The default output's number; nothing when there is none or the server does not say.
    [[nodiscard]] virtual std::optional<quint32> defaultOutputDevice() const = 0;
    virtual void setDefaultOutputDevice(quint32 id) = 0;

    // Moves the default output's volume by `percent` points on a 0–100 scale, clamped to that scale. A volume
    // raised beyond 100 elsewhere is never lowered by a step up, and a step down starts from where it is.
    virtual void changeOutputVolume(int percent) = 0;
    virtual void toggleOutputMute() = 0;
};

// A machine without a sound server: no devices, and changes go nowhere.
class NullAudioSystem final : public AudioSystem {
public:
    [[nodiscard]] std::vector<Device> devices() const override { return {}; }
    [[nodiscard]] std::optional<quint32> defaultOutputDevice() const override { return std::nullopt; }
    void setDefaultOutputDevice(quint32) override {}
    void changeOutputVolume(int) override {}
    void toggleOutputMute() override {}
};
