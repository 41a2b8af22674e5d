#pragma once

#include "core/BackgroundQueue.h"
#include "core/ProcessRunner.h"
#include "platform/AudioSystem.h"
#include "platform/SystemControls.h"
#include "platform/linux/dbus/LazyDBusConnection.h"

#include <functional>

// The system actions on a Linux desktop: volume and mute through the sound server, dark mode through GNOME's
// colour scheme setting, locking and sleep through logind.
class LinuxSystemControls final : public SystemControls {
public:
    using Job = std::function<void()>;
    using JobRunner = std::function<void(Job)>;

    // `gsettings` is that program's path, empty where it is not installed; `logind` is the bus logind is on
    // (the system bus). Work that blocks goes to `background`. `audio` and `runner` must outlive that work.
    LinuxSystemControls(AudioSystem& audio, ProcessRunner& runner, QString gsettings,
                        LazyDBusConnection logind, JobRunner background = &BackgroundQueue::run);

    void volumeUp() override;
    void volumeDown() override;
    void toggleMute() override;
    void toggleDarkMode() override;
    void lockScreen() override;
    void sleep() override;

private:
    [[nodiscard]] bool hasBus(const char* purpose) const;

    AudioSystem& m_audio;
    ProcessRunner& m_runner;
    QString m_gsettings;
    LazyDBusConnection m_logind;
    JobRunner m_background;
};
