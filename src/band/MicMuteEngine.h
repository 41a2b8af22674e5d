#pragma once

#include "core/BackgroundQueue.h"
#include "platform/AudioInput.h"

#include <QObject>
#include <functional>
#include <optional>

// The band's microphone switch: mutes and unmutes the default input with its mute switch, or, on a device
// without a working one, by turning its volume to 0 and back to the volume it had (at least `volumeFloor`,
// so that unmuting is heard). A device with neither control is left alone, and so is the state shown.
//
// Main thread only; the sound server is asked on `background`, one question at a time, and what comes back
// is published on the main thread. `mutedChanged` fires when `isMuted` changes.
class MicMuteEngine final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool muted READ isMuted NOTIFY mutedChanged)

public:
    using Job = std::function<void()>;
    using JobRunner = std::function<void(Job)>;

    static constexpr float initialSavedVolume = 0.75F;
    static constexpr float volumeFloor = 0.2F;
    // Below this an input volume counts as muted.
    static constexpr float silentVolume = 0.01F;

    // What a toggle did: the state to publish, if any, and the volume to restore from then on.
    struct Outcome {
        std::optional<bool> muted;
        float savedVolume = initialSavedVolume;
        bool operator==(const Outcome&) const = default;
    };

    // `input` outlives the engine and every job it hands to `background`.
    explicit MicMuteEngine(AudioInput& input, JobRunner background = &BackgroundQueue::run,
                           QObject* parent = nullptr);

    [[nodiscard]] bool isMuted() const { return m_muted; }
    // The input volume an unmute by volume restores.
    [[nodiscard]] float savedVolume() const { return m_savedVolume; }

    // Reads the default input again, and from now on whenever the sound server reports a change.
    void refresh();
    // Reads it no more on the server's changes, until the next `refresh`: for when the module is off the
    // band, where reading would cost a sound-server question for nothing.
    void stopFollowing();
    void toggle();

    // The state of the default input, or nothing when it has no readable control (or there is none). Blocks.
    [[nodiscard]] static std::optional<bool> read(AudioInput& input);
    // Flips the default input from `muted`. Blocks.
    [[nodiscard]] static Outcome toggled(AudioInput& input, bool muted, float savedVolume);

Q_SIGNALS:
    void mutedChanged(bool muted);

private:
    void runNext();
    void finish(const Outcome& outcome);

    AudioInput& m_input;
    JobRunner m_background;
    bool m_muted = false;
    float m_savedVolume = initialSavedVolume;
    bool m_following = false;
    bool m_busy = false;
    bool m_refreshWaiting = false;
    int m_togglesWaiting = 0;
};
