#include "platform/macos/MacSystemControls.h"

#include "support/FakeProcessRunner.h"

#include <gtest/gtest.h>

namespace {

TEST(MacSystemControlsTest, EachControlFiresItsExactCommand)
{
    FakeProcessRunner processes;
    MacSystemControls controls(processes);
    controls.volumeUp();
    controls.volumeDown();
    controls.toggleMute();
    controls.toggleDarkMode();
    controls.lockScreen();
    controls.sleep();

    const QString osascript = QStringLiteral("/usr/bin/osascript");
    const QString pmset = QStringLiteral("/usr/bin/pmset");
    const QString e = QStringLiteral("-e");
    const std::vector<FakeProcessRunner::Call> expected{
        {osascript,
         {e, QStringLiteral("set volume output volume ((output volume of (get volume settings)) + 10)")}},
        {osascript,
         {e, QStringLiteral("set volume output volume ((output volume of (get volume settings)) - 10)")}},
        {osascript,
         {e, QStringLiteral("set volume output muted (not (output muted of (get volume settings)))")}},
        {osascript,
         {e, QStringLiteral(
                 "tell application \"System Events\" to tell appearance preferences to set dark mode to "
                 "not dark mode")}},
        {pmset, {QStringLiteral("displaysleepnow")}},
        {pmset, {QStringLiteral("sleepnow")}},
    };
    EXPECT_EQ(processes.calls(), expected);
}

} // namespace
