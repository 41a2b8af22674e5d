#pragma once

#include <QObject>
#include <QString>
#include <optional>

// The sound server's default input (the microphone the desktop records from) and its two controls: the mute
// switch and the input volume.
//
// `defaultInput`, `setMuted` and `setVolume` may block while the sound server answers: call them from a
// background thread, never the main thread; they are independent of each other and touch no QObject state.
// `follow` and the signal belong to the main thread.
class AudioInput : public QObject {
    Q_OBJECT
public:
    struct Input {
        QString name; // the server's name for the device
        // Each control's reading; nothing when the device lacks the control or it did not read.
        std::optional<bool> muted;
        std::optional<float> volume; // 0 to 1, the loudest channel
        bool operator==(const Input&) const = default;
    };

    using QObject::QObject;

    // Nothing when there is no sound server or no default input.
    [[nodiscard]] virtual std::optional<Input> defaultInput() = 0;
    // Whether the device now reads as asked.
    [[nodiscard]] virtual bool setMuted(const QString& name, bool muted) = 0;
    [[nodiscard]] virtual bool setVolume(const QString& name, float volume) = 0;

    // Starts watching the server for changes to its inputs; calling it again does nothing.
    virtual void follow() = 0;

Q_SIGNALS:
    // The default input, or a control of an input, may have changed since it was last read.
    void changed();
};

// A machine without a sound server: no default input.
class NullAudioInput final : public AudioInput {
    Q_OBJECT
public:
    using AudioInput::AudioInput;

    [[nodiscard]] std::optional<Input> defaultInput() override { return std::nullopt; }
    [[nodiscard]] bool setMuted(const QString&, bool) override { return false; }
    [[nodiscard]] bool setVolume(const QString&, float) override { return false; }
    void follow() override {}
};
