#include "platform/macos/FocusAssertions.h"

#include "core/BackgroundQueue.h"
#include "support/FakeProcessRunner.h"
#include "support/FakeWorkspace.h"
#include "support/TempHome.h"

#include <QCoreApplication>

namespace {

using Reading = DoNotDisturb::Reading;

class FocusAssertionsTest : public TempHome {
protected:
    QString m_path = FocusAssertions::path(m_paths.home);
    FakeProcessRunner m_processes;
    FakeWorkspace m_workspace;
    FocusAssertions m_focus{m_paths.home, m_processes, m_workspace};
};

TEST_F(FocusAssertionsTest, TheFirstAssertedModeIsTheActiveOne)
{
    const struct {
        const char* document;
        std::optional<QString> mode;
    } cases[] = {
        {R"({"data":[{"storeAssertionRecords":[{"assertionDetails":{"assertionDetailsModeIdentifier":"com.apple.sleep.sleep-mode"}}]}]})",
         QStringLiteral("com.apple.sleep.sleep-mode")},
        {R"({"data":[{"storeAssertionRecords":[{"other":1},{"assertionDetails":{"assertionDetailsModeIdentifier":"com.apple.donotdisturb.mode.default"}}]}]})",
         QStringLiteral("com.apple.donotdisturb.mode.default")},
        {R"({"data":[{},{"storeAssertionRecords":[{"assertionDetails":{"assertionDetailsModeIdentifier":"b"}}]}]})",
         QStringLiteral("b")},
        {R"({"data":[{"storeAssertionRecords":[{"assertionDetails":{"assertionDetailsModeIdentifier":7}}]}]})",
         std::nullopt},
        {R"({"data":[1,{"storeAssertionRecords":[{"assertionDetails":{"assertionDetailsModeIdentifier":"b"}}]}]})",
         std::nullopt},
        {R"({"data":{}})", std::nullopt},
        {R"([1])", std::nullopt},
        {"not json", std::nullopt},
    };
    for (const auto& test : cases)
        EXPECT_EQ(FocusAssertions::activeMode(test.document), test.mode) << test.document;
}

TEST_F(FocusAssertionsTest, OnlyAnUnreadableFileNeedsAccess)
{
    EXPECT_EQ(FocusAssertions::reading(m_path), (Reading{std::nullopt, true}));
    writeFile(m_path, R"({"data":[{"storeAssertionRecords":[{"assertionDetails":{)"
                      R"("assertionDetailsModeIdentifier":"com.apple.donotdisturb.mode.default"}}]}]})");
    EXPECT_EQ(FocusAssertions::reading(m_path), (Reading{true, false}));
    writeFile(m_path, "{\"data\": [");
    EXPECT_EQ(FocusAssertions::reading(m_path), (Reading{false, false}));
    writeFile(m_path, QByteArray(50 * 1024 * 1024, ' '));
    EXPECT_EQ(FocusAssertions::reading(m_path), (Reading{false, false}));
}

TEST_F(FocusAssertionsTest, ReadyOnlyWithBothShortcutsAndSwitchesByRunningOne)
{
    const struct {
        QString list;
        bool ready;
    } cases[] = {
        {QStringLiteral("Do Not Disturb On\nLog Water\n"), false},
        {QStringLiteral("Do Not Disturb On\ndo not disturb off\n"), false},
        {QStringLiteral("Do Not Disturb Off\n  Do Not Disturb On\n"), true},
    };
    for (const auto& test : cases) {
        m_processes.answer(QStringLiteral("/usr/bin/shortcuts list"), test.list);
        std::optional<bool> ready;
        m_focus.checkReady(&m_focus, [&ready](bool answer) { ready = answer; });
        BackgroundQueue::waitForDone();
        QCoreApplication::processEvents();
        EXPECT_EQ(ready, test.ready) << test.list.toStdString();
    }

    EXPECT_TRUE(m_focus.turn(false));
    EXPECT_EQ(m_processes.calls().back(),
              (FakeProcessRunner::Call{QStringLiteral("/usr/bin/shortcuts"),
                                       {QStringLiteral("run"), QStringLiteral("Do Not Disturb Off")}}));
}

} // namespace
