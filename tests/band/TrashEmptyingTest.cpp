#include "band/TrashEmptying.h"

#include "core/BackgroundQueue.h"
#include "support/FakeDevices.h"
#include "support/TempHome.h"

#include <QCoreApplication>

namespace {

TEST(TrashEmptyingTest, TheQuestionSaysHowSureTheCountIs)
{
    const QString cannotUndo = QStringLiteral(" will be permanently deleted. You can't undo this.");
    const struct {
        qint64 items;
        bool allListed;
        bool skipped;
        std::optional<QString> text; // nothing: no question at all
    } cases[] = {
        {0, true, false, std::nullopt},
        {1, true, false, QStringLiteral("1 item") + cannotUndo},
        {12, true, false, QStringLiteral("12 items") + cannotUndo},
        {0, true, true, QStringLiteral("Everything in the Trash") + cannotUndo},
        {0, false, false, QStringLiteral("Everything in the Trash") + cannotUndo},
        {1, true, true,
         QStringLiteral("1 item, and anything in the Trash on your other drives,") + cannotUndo},
    };
    for (const auto& c : cases) {
        const std::optional<Alert> alert = TrashEmptying::alert({c.items, c.allListed}, c.skipped);
        ASSERT_EQ(alert.has_value(), c.text.has_value()) << c.items;
        EXPECT_EQ(alert ? alert->informativeText : QString(), c.text.value_or(QString()));
    }
}

class FolderTrash final : public Trash {
public:
    QStringList folders;
    int emptied = 0;
    [[nodiscard]] Locations locations() const override { return {folders, false}; }
    void open() override {}
    void empty() override { ++emptied; }
};

class TrashEmptyingFlowTest : public TempHome {};

TEST_F(TrashEmptyingFlowTest, OnlyTheFirstButtonEmptiesTheTrash)
{
    writeFile(m_paths.home + QStringLiteral("/Trash/files/old.txt"), "x");
    FolderTrash trash;
    trash.folders = {m_paths.home + QStringLiteral("/Trash/files"),
                     m_paths.home + QStringLiteral("/unreadable")};
    FakeAlertPresenter alerts;
    QObject context;
    for (const int answer : {1, 0}) {
        alerts.answer = answer;
        TrashEmptying::start(&context, trash, alerts);
        BackgroundQueue::waitForDone();
        QCoreApplication::sendPostedEvents();
    }
    ASSERT_EQ(alerts.shown.size(), 2U);
    EXPECT_TRUE(alerts.shown[0].informativeText.startsWith(u"1 item, and anything"));
    EXPECT_EQ(trash.emptied, 1);
}

} // namespace
