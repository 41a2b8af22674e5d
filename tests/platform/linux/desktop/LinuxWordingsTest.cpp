#include "platform/linux/desktop/LinuxWordings.h"

#include "actions/AppActivator.h"
#include "platform/PlatformServices.h"
#include "support/ActionMachinery.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

namespace {

class LinuxWordingsTest : public TempHome {
protected:
    Preferences m_preferences{m_paths.preferencesFile()};
    ActionMachinery m_machine{m_preferences};
};

TEST_F(LinuxWordingsTest, WithoutAnX11DisplayTheAlertNamesNoMacPlaceAndOffersNothingThatDoesNothing)
{
    ASSERT_EQ(createPlatformServices(m_paths).wordings, &linuxWordings()) << "a Linux build speaks Linux";
    AppActivator apps(
        {m_machine.workspace, m_machine.windows, m_preferences, m_machine.alerts, linuxWordings()});
    const QString editor = QStringLiteral("/usr/share/applications/editor.desktop");
    m_machine.windows.available = false;
    m_machine.workspace.running.insert(editor, {300});
    m_machine.alerts.answer = 0;
    apps.launch(editor);

    ASSERT_EQ(m_machine.alerts.shown.size(), 1u);
    const Alert& alert = m_machine.alerts.shown.front();
    for (const QString& macOnly :
         {QStringLiteral("macOS"), QStringLiteral("System Settings"), QStringLiteral("Privacy"),
          QStringLiteral("Accessibility"), QStringLiteral("Dock")}) {
        EXPECT_FALSE(alert.message.contains(macOnly)) << macOnly.toStdString();
        EXPECT_FALSE(alert.informativeText.contains(macOnly)) << macOnly.toStdString();
    }
    EXPECT_TRUE(alert.informativeText.contains(QStringLiteral("XWayland")));
    // There is no setting to open: one button, which only closes the alert.
    EXPECT_EQ(alert.buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(m_machine.workspace.accessSettingsOpened, 0);
    EXPECT_EQ(m_machine.workspace.launched, QStringList{editor});
}

TEST(LinuxWordings, KeysAndSettingsAreNamedAsTheDesktopNamesThem)
{
    const PlatformWordings& wordings = linuxWordings();
    const QString texts =
        wordings.hotKeyModifierCaps.join(u' ') + u' ' + wordings.starterHint + u' ' + wordings.dealFooter;
    for (const QString& macOnly : {QStringLiteral("⌃"), QStringLiteral("⌥"), QStringLiteral("⌘"),
                                   QStringLiteral("Option"), QStringLiteral("Reduce Motion")})
        EXPECT_FALSE(texts.contains(macOnly)) << macOnly.toStdString();
    EXPECT_TRUE(wordings.starterHint.contains(wordings.hotKeyModifierCaps.join(u'+')))
        << "the hint names the keys the shortcuts window shows";
}

} // namespace
