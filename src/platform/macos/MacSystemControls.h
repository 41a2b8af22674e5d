#pragma once

#include "core/ProcessRunner.h"
#include "platform/SystemControls.h"

// The system controls of a Mac: AppleScript for volume and appearance, pmset for the display and sleep.
// Every command is fired and forgotten.
class MacSystemControls final : public SystemControls {
public:
    explicit MacSystemControls(ProcessRunner& processes)
        : m_processes(processes)
    {
    }

    void volumeUp() override;
    void volumeDown() override;
    void toggleMute() override;
    void toggleDarkMode() override;
    void lockScreen() override;
    void sleep() override;

private:
    void runAppleScript(const QString& source);

    ProcessRunner& m_processes;
};
