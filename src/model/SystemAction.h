#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

// The built-in system commands a tile can run. The raw value is what the layout file stores.
enum class SystemAction {
    volumeUp,
    volumeDown,
    muteToggle,
    darkModeToggle,
    lockScreen,
    sleep,
    snapLeft,
    snapRight,
    snapFull,
    snapCentre,
};

inline constexpr std::array allSystemActions{
    SystemAction::volumeUp,       SystemAction::volumeDown, SystemAction::muteToggle,
    SystemAction::darkModeToggle, SystemAction::lockScreen, SystemAction::sleep,
    SystemAction::snapLeft,       SystemAction::snapRight,  SystemAction::snapFull,
    SystemAction::snapCentre,
};

[[nodiscard]] QString rawValue(SystemAction action);
[[nodiscard]] QString title(SystemAction action);
[[nodiscard]] std::optional<SystemAction> systemActionFromRawValue(QStringView rawValue);
