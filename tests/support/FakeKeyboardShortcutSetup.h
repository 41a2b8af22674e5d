#pragma once

#include "platform/KeyboardShortcutSetup.h"

// Answers with the reports the test gave and keeps the companions it was asked to set up.
class FakeKeyboardShortcutSetup final : public KeyboardShortcutSetup {
public:
    SetUpReport setUpReport;
    RemoveReport removeReport;
    Status status;
    QStringList companions;

    [[nodiscard]] SetUpReport setUp(const QString& companion) override
    {
        companions << companion;
        return setUpReport;
    }
    [[nodiscard]] RemoveReport remove() override { return removeReport; }
    [[nodiscard]] Status installed() override { return status; }
};
