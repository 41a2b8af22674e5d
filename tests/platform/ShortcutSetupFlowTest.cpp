#include "platform/ShortcutSetupFlow.h"

#include "core/BackgroundQueue.h"
#include "support/FakeDevices.h"
#include "support/FakeKeyboardShortcutSetup.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

const QString setUpTitle = QStringLiteral("Set Up Keyboard Shortcuts…");
const QString removeTitle = QStringLiteral("Remove Keyboard Shortcuts");

class ShortcutSetupFlowTest : public ::testing::Test {
protected:
    static void settle()
    {
        BackgroundQueue::waitForDone();
        QCoreApplication::processEvents();
    }

    QStringList titles()
    {
        QStringList titles;
        for (const ShortcutSetupFlow::Item& item : m_flow.items())
            titles << item.title;
        settle();
        return titles;
    }

    FakeKeyboardShortcutSetup m_setup;
    FakeAlertPresenter m_alerts;
    bool m_offered = true;
    ShortcutSetupFlow m_flow{{m_setup, m_alerts, [] { return QStringLiteral("/usr/bin/marquetto-deck"); },
                              [this] { return m_offered; }}};
};

TEST_F(ShortcutSetupFlowTest, ItemsAreOfferedOnlyWhenAskedForAndRemovalOnlyOnceOursAreThere)
{
    m_offered = false;
    EXPECT_EQ(titles(), QStringList());
    m_offered = true;
    EXPECT_EQ(titles(), QStringList{setUpTitle});
    m_setup.status.installed = QStringList{QStringLiteral("Control-Alt-1")};
    m_flow.refresh();
    settle();
    EXPECT_EQ(titles(), (QStringList{setUpTitle, removeTitle}));
}

TEST_F(ShortcutSetupFlowTest, TheAlertsSayWhatWasAddedSkippedAndTakenBack)
{
    m_setup.setUpReport.added =
        QStringList{QStringLiteral("Control-Alt-Space"), QStringLiteral("Control-Alt-1")};
    m_setup.setUpReport.skipped = {{QStringLiteral("Control-Alt-3"), QStringLiteral("Files")}};
    m_flow.setUp();
    settle();
    EXPECT_EQ(m_setup.companions, QStringList{QStringLiteral("/usr/bin/marquetto-deck")});
    ASSERT_EQ(m_alerts.shown.size(), 1u);
    EXPECT_EQ(m_alerts.shown[0].message, QStringLiteral("Keyboard shortcuts set up"));
    EXPECT_EQ(m_alerts.shown[0].informativeText,
              QStringLiteral("Added: Control-Alt-Space, Control-Alt-1.\n"
                             "Skipped because you already use them: Control-Alt-3 (“Files”)."));
    EXPECT_EQ(titles(), (QStringList{setUpTitle, removeTitle}));

    m_setup.removeReport.removed = 2;
    m_flow.remove();
    settle();
    EXPECT_EQ(m_alerts.shown[1].informativeText,
              QStringLiteral("Took back 2 of Marquetto's keyboard shortcuts; your own are as they were."));
    EXPECT_EQ(titles(), QStringList{setUpTitle});

    m_setup.setUpReport = {{}, {}, {}, QStringLiteral("the gsettings program is missing")};
    m_flow.setUp();
    settle();
    EXPECT_EQ(m_alerts.shown[2].message, QStringLiteral("Keyboard shortcuts could not be set up"));
    EXPECT_EQ(m_alerts.shown[2].informativeText,
              QStringLiteral("The gsettings program is missing. Your own shortcuts are as they were."));
    EXPECT_EQ(titles(), QStringList{setUpTitle});
}

} // namespace
