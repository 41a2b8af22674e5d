#include "actions/AppActivator.h"

#include "support/ActionMachinery.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

namespace {

const QString editorPath = QStringLiteral("/usr/share/applications/editor.desktop");

class AppActivatorTest : public TempHome {
protected:
    Preferences m_preferences{m_paths.preferencesFile()};
    ActionMachinery m_machine{m_preferences};
    AppActivator& m_apps = m_machine.apps;
    FakeWindows& m_windows = m_machine.windows;
};

TEST_F(AppActivatorTest, AnApplicationThatIsNotRunningIsStartedWithoutTheAlert)
{
    m_windows.available = false;
    m_apps.launch(editorPath);
    EXPECT_EQ(m_machine.workspace.launched, QStringList{editorPath});
    EXPECT_TRUE(m_machine.alerts.shown.empty());
}

TEST_F(AppActivatorTest, WithoutWindowAccessARunningApplicationNudgesOnceAndStillStarts)
{
    m_windows.available = false;
    // Dots in the tile's path still find the running application.
    m_machine.workspace.running.insert(editorPath, {300});
    m_apps.launch(QStringLiteral("/usr/share/./applications/../applications/editor.desktop"));
    m_apps.launch(editorPath);

    ASSERT_EQ(m_machine.alerts.shown.size(), 1u);
    const Alert& alert = m_machine.alerts.shown.front();
    EXPECT_EQ(alert.message, QStringLiteral("Let Marquetto bring minimized apps forward"));
    EXPECT_TRUE(alert.informativeText.endsWith(
        QStringLiteral("\n\nSystem Settings ▸ Privacy & Security ▸ Accessibility ▸ turn on Marquetto, then "
                       "relaunch Marquetto.")));
    EXPECT_EQ(alert.buttons, (QStringList{QStringLiteral("Open Settings"), QStringLiteral("Not Now")}));
    EXPECT_EQ(m_preferences.boolValue(QStringLiteral("shownAccessibilityNudge")), true);
    EXPECT_EQ(m_machine.workspace.launched.size(), 2);
    EXPECT_EQ(m_machine.workspace.accessSettingsOpened, 0);

    m_machine.alerts.answer = 0;
    m_apps.promptForAccess();
    EXPECT_EQ(m_machine.workspace.accessSettingsOpened, 1);
}

TEST_F(AppActivatorTest, ARunningApplicationsWindowsAreRestoredAndTheFrontOneRaised)
{
    m_machine.workspace.running.insert(editorPath, {300, 301});
    m_windows.owners = {{1, 300}, {2, 301}, {3, 300}, {4, 999}};
    m_windows.stacking = {4, 2, 1, 3};
    m_windows.minimized = {{1, true}, {3, true}};
    m_apps.launch(editorPath);

    EXPECT_EQ(m_windows.log, (QStringList{QStringLiteral("unminimize 1"), QStringLiteral("unminimize 3"),
                                          QStringLiteral("raise 2"), QStringLiteral("activate 2")}));
    EXPECT_TRUE(m_machine.workspace.launched.isEmpty());
}

TEST_F(AppActivatorTest, ARunningApplicationWithoutWindowsIsStartedAgain)
{
    m_machine.workspace.running.insert(editorPath, {300});
    m_apps.launch(editorPath);
    EXPECT_EQ(m_machine.workspace.launched, QStringList{editorPath});
    EXPECT_TRUE(m_windows.log.isEmpty());
}

} // namespace
