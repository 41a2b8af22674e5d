#include "MacSystemControls.h"

#include "platform/Programs.h"

void MacSystemControls::runAppleScript(const QString& source)
{
    m_processes.fireAndForget(Programs::osascript(), {QStringLiteral("-e"), source});
}

void MacSystemControls::volumeUp()
{
    runAppleScript(
        QStringLiteral("set volume output volume ((output volume of (get volume settings)) + 10)"));
}

void MacSystemControls::volumeDown()
{
    runAppleScript(
        QStringLiteral("set volume output volume ((output volume of (get volume settings)) - 10)"));
}

void MacSystemControls::toggleMute()
{
    runAppleScript(QStringLiteral("set volume output muted (not (output muted of (get volume settings)))"));
}

void MacSystemControls::toggleDarkMode()
{
    runAppleScript(
        QStringLiteral("tell application \"System Events\" to tell appearance preferences to set dark "
                       "mode to not dark mode"));
}

void MacSystemControls::lockScreen()
{
    m_processes.fireAndForget(Programs::pmset(), {QStringLiteral("displaysleepnow")});
}

void MacSystemControls::sleep()
{
    m_processes.fireAndForget(Programs::pmset(), {QStringLiteral("sleepnow")});
}
