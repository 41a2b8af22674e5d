#include "transfer/IconCleanup.h"

#include "commands/DeckChannel.h"
#include "commands/DeckLock.h"
#include "model/TileCoding.h"
#include "support/LogCapture.h"
#include "support/StoreFixture.h"

#include <QFile>
#include <QLockFile>
#include <QScopeGuard>
#include <QSysInfo>
#include <gtest/gtest.h>

namespace {

const QDateTime written(QDate(2026, 2, 1), QTime(12, 0));

class IconCleanupTest : public StoreFixture {
protected:
    [[nodiscard]] QString icon(const QString& name) const { return m_paths.iconsDir() + u'/' + name; }

    void writeIcon(const QString& name, const QDateTime& modified = written) const
    {
        writeFile(icon(name), "png");
        QFile file(icon(name));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
    }

    [[nodiscard]] static Pages usingIcon(const QString& name)
    {
        Tile tile = snippetTile(name);
        tile.icon.value = TileIcon::Custom{name};
        return {{tile}};
    }

    [[nodiscard]] std::optional<IconCleanup::Plan> planAt(qint64 ageSeconds, const Pages& live = {}) const
    {
        return IconCleanup::plan(m_paths, live, written.addSecs(ageSeconds));
    }
};

TEST_F(IconCleanupTest, RemovesOnlyFilesUnusedForAWeek)
{
    writeIcon(QStringLiteral("old.png"));
    writeIcon(QStringLiteral("fresh.png"), written.addDays(1));

    m_clock.set(written.addDays(7).addSecs(-1));
    EXPECT_EQ(IconCleanup::run(m_paths, {}, m_clock), 0);

    LogCapture log;
    m_clock.set(written.addDays(7));
    EXPECT_EQ(IconCleanup::run(m_paths, {}, m_clock), 1);
    EXPECT_FALSE(exists(icon(QStringLiteral("old.png"))));
    EXPECT_TRUE(exists(icon(QStringLiteral("fresh.png"))));
    EXPECT_TRUE(log.lines().contains(QStringLiteral("Marquetto: removed 1 unused icon files")));
}

TEST_F(IconCleanupTest, KeepsWhatAnyLayoutOrLinkStillNames)
{
    const QStringList kept{QStringLiteral("café.png"), QStringLiteral("saved.png"),
                           QStringLiteral("linked.png"), QStringLiteral("link.png")};
    for (const QString& name : kept)
        writeIcon(name);
    writeIcon(QStringLiteral("unused.png"));
    QFile::remove(icon(QStringLiteral("link.png")));
    ASSERT_TRUE(QFile::link(icon(QStringLiteral("linked.png")), icon(QStringLiteral("link.png"))));
    writeFile(m_paths.tilesFile(), "[[]]");
    writeFile(m_paths.backupsDir() + QStringLiteral("/tiles-20260101-090000.JSON"),
              TileCoding::layoutBytes(usingIcon(QStringLiteral("saved.png"))));
    // Files a Mac leaves beside copies on foreign disks are no layouts.
    writeFile(m_paths.backupsDir() + QStringLiteral("/._tiles-20260101-090000.json"), "\x00\x05\x16\x07");
    writeFile(m_paths.backupsDir() + QStringLiteral("/notes.txt"), "not a layout");

    // Decomposed and in capitals, the live deck's name still matches the file's.
    const auto plan = planAt(IconCleanup::unusedAfterSeconds, usingIcon(QStringLiteral("Cafe\u0301.PNG")));
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->files, QStringList{icon(QStringLiteral("unused.png"))});
    EXPECT_EQ(plan->totalBytes, 3);
}

TEST_F(IconCleanupTest, AnyDoubtAboutTheLayoutsStopsEverything)
{
    const QString backup = m_paths.backupsDir() + QStringLiteral("/tiles-20260101-090000.json");
    struct Case {
        const char* name;
        QString path;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"a backup that is not JSON", backup, "{"},
        {"a backup that holds no tiles", backup, R"({"pages": 1})"},
        {"a layout that is not JSON", m_paths.tilesFile(), "[[{]]"},
        {"the marker of an unreadable layout", m_paths.unreadableTilesFile(), "[[]]"},
        {"the hold file", m_paths.supportDir() + QStringLiteral("/icon-cleanup-hold"), ""},
        {"a backups path that is a file", m_paths.backupsDir(), "[[]]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(m_paths.supportDir()).removeRecursively();
        writeIcon(QStringLiteral("unused.png"));
        writeFile(c.path, c.bytes);
        EXPECT_FALSE(planAt(IconCleanup::unusedAfterSeconds));
    }
}

TEST_F(IconCleanupTest, AStartWithAnUnreadableLayoutHoldsTheCleanUpForGood)
{
    writeIcon(QStringLiteral("unused.png"));
    writeFile(m_paths.tilesFile(), "garbage");
    makeStore();
    // Even once the layout is good again and its unreadable copy gone.
    m_store->set(snippetTile(QStringLiteral("new")), 0, 0);
    ASSERT_TRUE(m_store->savePendingChange());
    QFile::remove(m_paths.unreadableTilesFile());
    QDir(m_paths.backupsDir()).removeRecursively();

    EXPECT_FALSE(planAt(IconCleanup::unusedAfterSeconds * 10, m_store->pages()));
}

// The clean-up runs only in the deck that holds the lock of these files: not beside another deck that
// holds it, nor where the lock is gone.
TEST_F(IconCleanupTest, OnlyTheDeckHoldingTheLockCountsAsAlone)
{
    const QString lockPath = DeckChannel::lockPath(m_paths);
    const auto removeLock = qScopeGuard([&] { QFile::remove(lockPath); });
    EXPECT_FALSE(DeckLock::isHeldByThisProcess(m_paths));
    QFile other(lockPath);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("1\nmarquetto\n" + QSysInfo::machineHostName().toUtf8() + '\n');
    other.close();
    EXPECT_FALSE(DeckLock::isHeldByThisProcess(m_paths));
    QFile::remove(lockPath);
    QLockFile lock(lockPath);
    ASSERT_TRUE(lock.tryLock(0));
    EXPECT_TRUE(DeckLock::isHeldByThisProcess(m_paths));
}

} // namespace
