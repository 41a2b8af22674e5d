#include "ui/editor/FocusSetupView.h"

#include "band/FocusEngine.h"
#include "platform/PlatformWordings.h"
#include "platform/linux/desktop/LinuxWordings.h"
#include "platform/macos/MacWordings.h"
#include "support/FakeWorkspace.h"
#include "support/TempHome.h"
#include "ui/editor/FocusSetupWindowController.h"
#include "ui/paint/PhosphorFont.h"

#include <QLabel>
#include <QPushButton>

namespace {

class SwitchableDoNotDisturb final : public DoNotDisturb {
public:
    bool ready = false;

    void read(QObject*, std::function<void(Reading)> done) override { done({false, false}); }
    void checkReady(QObject*, std::function<void(bool)> done) override { done(ready); }
    bool turn(bool) override { return true; }
    void openAccessSettings() override {}
};

class FocusSetupViewTest : public TempHome {
protected:
    [[nodiscard]] static QStringList texts(const QWidget& view)
    {
        QStringList out;
        for (const QLabel* label : view.findChildren<QLabel*>())
            out << label->text();
        for (const QPushButton* button : view.findChildren<QPushButton*>())
            out << button->text();
        return out;
    }

    SwitchableDoNotDisturb m_system;
    FocusEngine m_engine{m_system};
    PhosphorFont m_font{QStringLiteral(MARQUETTO_PHOSPHOR_FONT),
                        QStringLiteral(MARQUETTO_PHOSPHOR_GLYPH_MAP)};
    FakeWorkspace m_workspace;
};

TEST_F(FocusSetupViewTest, OnTheMacItOffersTheShortcutsUntilBothAreInstalled)
{
    writeFile(m_dir.filePath(QStringLiteral("Do Not Disturb On.shortcut")), "x");
    FocusSetupWindowController controller(m_engine, m_font, m_workspace, macWordings(), m_dir.path());
    controller.show();
    FocusSetupView* view = controller.view();
    ASSERT_TRUE(view);
    controller.show();
    EXPECT_EQ(controller.view(), view) << "a second show brings the same window forward";
    EXPECT_TRUE(texts(*view).contains(macWordings().focusSetupNeeded));
    EXPECT_TRUE(texts(*view).contains(QStringLiteral("Add Do Not Disturb Shortcuts")));

    m_system.ready = true;
    m_engine.refreshShortcuts();
    EXPECT_TRUE(texts(*view).contains(macWordings().focusSetupReady));
    EXPECT_FALSE(texts(*view).contains(QStringLiteral("Add Do Not Disturb Shortcuts")));
}

TEST_F(FocusSetupViewTest, OnLinuxItSaysTheMoonSwitchesDirectly)
{
    m_system.ready = true;
    m_engine.refreshShortcuts();
    const FocusSetupView view(m_engine, m_font, m_workspace, linuxWordings(), {});
    const QStringList shown = texts(view);
    EXPECT_TRUE(shown.contains(linuxWordings().focusSetupReady));
    EXPECT_FALSE(shown.contains(QStringLiteral("Open Shortcuts")));
}

} // namespace
