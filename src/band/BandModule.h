#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

// The kinds of live module the accessory band can show, in catalogue order. Stored by raw value.
enum class BandModule {
    micMute,
    volumeDown,
    volumeUp,
    dateTime,
    keepAwake,
    darkMode,
    messages,
    nextMeeting,
    focus,
    cpuLoad,
    memory,
    network,
    battery,
    driveSpace,
    trash,
    wifi,
    localIP,
    uptime,
    dayProgress,
    publicIP,
    worldClock,
    countdown,
    pomodoro,
    weather,
};

inline constexpr size_t bandModuleCount = 24;

[[nodiscard]] QString rawValue(BandModule module);
[[nodiscard]] QString title(BandModule module);
[[nodiscard]] std::optional<BandModule> bandModuleFromRawValue(QStringView rawValue);
