#include "model/TileCoding.h"
#include "support/StoreFixture.h"

class LayoutBackupsTest : public StoreFixture {
protected:
    void SetUp() override { m_clock.set(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9))); }

    // One edit and its save, one second after the previous one.
    void editAndSave(const QString& text)
    {
        m_store->set(snippetTile(text), 0, 0);
        ASSERT_TRUE(m_store->savePendingChange());
        m_clock.advance(1);
    }
};

TEST_F(LayoutBackupsTest, EverySaveKeepsTheReplacedLayoutUpToTen)
{
    makeStore();
    editAndSave(QStringLiteral("first"));
    EXPECT_TRUE(backupNames().isEmpty()) << "there was no layout to back up";

    for (int i = 0; i < 11; ++i)
        editAndSave(QString::number(i));
    const QStringList names = backupNames();
    ASSERT_EQ(names.size(), LayoutBackups::limit);
    EXPECT_EQ(names.first(), QStringLiteral("tiles-20260305-140711.json")) << "the oldest was removed";
    EXPECT_EQ(names.last(), QStringLiteral("tiles-20260305-140720.json"));

    const auto entries = m_store->backups().availableBackups();
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(entries.front().date, QDateTime(QDate(2026, 3, 5), QTime(14, 7, 20)));
    EXPECT_TRUE(entries.front().path.endsWith(names.last()));
    EXPECT_GT(entries.front().date, entries.back().date);
}

TEST_F(LayoutBackupsTest, TheFirstSaveOfASecondIsBackedUpAndAReplacedDeckAlways)
{
    makeStore();
    editAndSave(QStringLiteral("a"));
    const QByteArray afterA = readFile(m_paths.tilesFile());
    m_store->set(snippetTile(QStringLiteral("b")), 0, 0);
    ASSERT_TRUE(m_store->savePendingChange());
    m_store->set(snippetTile(QStringLiteral("c")), 0, 0);
    ASSERT_TRUE(m_store->savePendingChange());

    ASSERT_EQ(backupNames(), QStringList{QStringLiteral("tiles-20260305-140710.json")});
    EXPECT_EQ(readFile(m_paths.backupsDir() + QStringLiteral("/tiles-20260305-140710.json")), afterA);

    // A deck about to be replaced is kept even in a taken second: it moves to the next free one, once.
    const Pages kept{{snippetTile(QStringLiteral("explicit"))}};
    m_store->backups().saveBackup(kept);
    m_store->backups().saveBackup(kept);
    EXPECT_EQ(readFile(m_paths.backupsDir() + QStringLiteral("/tiles-20260305-140710.json")), afterA)
        << "an explicit backup never overwrites";
    EXPECT_EQ(readFile(m_paths.backupsDir() + QStringLiteral("/tiles-20260305-140711.json")),
              TileCoding::layoutBytes(kept));
    EXPECT_EQ(backupNames().size(), 2);

    // A burst of replacements in one second: each replaced deck is the newest backup, never pruned at once.
    for (int i = 0; i < 12; ++i) {
        const Pages burst{{snippetTile(QString::number(i))}};
        m_store->backups().saveBackup(burst);
        EXPECT_EQ(readFile(m_store->backups().availableBackups().front().path),
                  TileCoding::layoutBytes(burst))
            << i;
    }
}

TEST_F(LayoutBackupsTest, OnlyWellNamedFilesAreListedButEveryPrefixedFileIsPruned)
{
    writeFile(m_paths.backupsDir() + QStringLiteral("/tiles-0000-broken.json"), "x");
    writeFile(m_paths.backupsDir() + QStringLiteral("/tiles-20261399-250000.json"), "[]");
    writeFile(m_paths.backupsDir() + QStringLiteral("/notes.txt"), "mine");
    writeFile(m_paths.backupsDir() + QStringLiteral("/tiles-20260101-090000.txt"), "other");
    makeStore();
    EXPECT_TRUE(m_store->backups().availableBackups().empty());

    editAndSave(QStringLiteral("start"));
    for (int i = 0; i < 7; ++i)
        editAndSave(QString::number(i));
    // Ten prefixed files now: two odd ones, seven backups and the ".txt" one.
    EXPECT_EQ(m_store->backups().availableBackups().size(), 7u);
    editAndSave(QStringLiteral("one more"));

    const QStringList names = backupNames();
    EXPECT_FALSE(names.contains(QStringLiteral("tiles-0000-broken.json"))) << "sorted oldest, so pruned";
    EXPECT_TRUE(names.contains(QStringLiteral("tiles-20261399-250000.json")));
    EXPECT_TRUE(names.contains(QStringLiteral("notes.txt")));
    EXPECT_EQ(m_store->backups().availableBackups().size(), 8u);
}
