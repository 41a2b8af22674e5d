#include "deck/SaveProblemNotice.h"

#include "support/FakeDevices.h"
#include "support/StoreFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

class SaveProblemNoticeTest : public StoreFixture {
protected:
    void SetUp() override { makeStore(); }

    // A folder where the layout file should be: every write fails, even for root.
    void blockLayoutFile() { writeFile(m_paths.tilesFile() + QStringLiteral("/in the way"), ""); }
    void unblockLayoutFile() { QDir(m_paths.tilesFile()).removeRecursively(); }
    void edit(const QString& label)
    {
        m_store->set(snippetTile(label), 0, 0);
        m_store->savePendingChange();
        QCoreApplication::processEvents();
    }

    FakeAlertPresenter m_alerts;
};

TEST_F(SaveProblemNoticeTest, AFailingSaveIsToldOnceAndShownUntilASaveSucceeds)
{
    SaveProblemNotice notice(*m_store, m_alerts);
    edit(QStringLiteral("saved"));
    EXPECT_TRUE(m_alerts.shown.empty());
    EXPECT_EQ(notice.statusLine(), QString());

    QFile::remove(m_paths.tilesFile());
    blockLayoutFile();
    edit(QStringLiteral("first unsaved"));
    edit(QStringLiteral("second unsaved"));
    ASSERT_EQ(m_alerts.shown.size(), 1u);
    EXPECT_EQ(m_alerts.shown.front().message, QStringLiteral("Couldn't save your layout."));
    EXPECT_TRUE(notice.statusLine().startsWith(QStringLiteral("Layout not saved: ")))
        << notice.statusLine().toStdString();
    EXPECT_TRUE(m_store->isSavePending());

    // Nothing changes on the deck: the retry alone writes it once the disk takes it.
    unblockLayoutFile();
    EXPECT_TRUE(m_store->savePendingChange());
    EXPECT_EQ(notice.statusLine(), QString());
    EXPECT_TRUE(readFile(m_paths.tilesFile()).contains("second unsaved"));

    QFile::remove(m_paths.tilesFile());
    blockLayoutFile();
    edit(QStringLiteral("failing again"));
    EXPECT_EQ(m_alerts.shown.size(), 2u);
}

} // namespace
