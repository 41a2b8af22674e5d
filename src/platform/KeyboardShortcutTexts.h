#pragma once

#include "platform/AlertPresenter.h"
#include "platform/KeyboardShortcutSetup.h"

// What the user is told after setting up or removing the desktop's shortcuts, in the deck's alert and on the
// companion's terminal alike.
namespace KeyboardShortcutTexts {

[[nodiscard]] Alert setUpAlert(const KeyboardShortcutSetup::SetUpReport& report);
[[nodiscard]] Alert removeAlert(const KeyboardShortcutSetup::RemoveReport& report);
[[nodiscard]] QString status(const KeyboardShortcutSetup::Status& status);

} // namespace KeyboardShortcutTexts
