#include "core/AppPaths.h"
#include "model/LayoutBackups.h"
#include "model/LayoutFile.h"
#include "support/DeckProcess.h"
#include "support/DrillFiles.h"
#include "support/FakeClock.h"
#include "sync/CloudFolder.h"
#include "transfer/DeckTransfer.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <thread>
#include <unistd.h>

// Two machines, A and B, share one synced folder. Round after round, something is set up that B's next
// companion command must carry out (take A's newer deck, upload B's own edit, import a deck file), and that
// command is killed with SIGKILL at a random moment of its run. Whatever moment the kill hits, B's layout
// file and the shared deck must still decode, and the layout B had before the command must still be its
// layout or one of its backups.
namespace {

using DrillFiles::contentsOf;
using DrillFiles::layoutOf;
using std::chrono::microseconds;
using std::chrono::steady_clock;

enum class Change { download, upload, import };
constexpr std::array changes{Change::download, Change::upload, Change::import};

const char* nameOf(Change change)
{
    switch (change) {
    case Change::download:
        return "download";
    case Change::upload:
        return "upload";
    case Change::import:
        return "import";
    }
    return "";
}

struct Outcome {
    bool killed = false;
    microseconds took{};
};

class SyncKillDrill : public ::testing::Test, protected DrillMachines {
protected:
    int m_edits = 0;

    // A new tile on the first page, different from every earlier one.
    void edit(const AppPaths& machine)
    {
        ++m_edits;
        const QString tile =
            QStringLiteral(R"({"label":"edit %1","icon":{"auto":{}},"action":{"snippet":{"text":"%1"}}})")
                .arg(m_edits);
        must(machine,
             {QStringLiteral("set"), QStringLiteral("0"), QString::number(m_edits % 9), QStringLiteral("-")},
             tile.toUtf8());
    }

    [[nodiscard]] std::optional<DeckTransfer::DeckFile> shared() const
    {
        auto deck = DeckTransfer::decode(contentsOf(CloudFolder::syncFile(m_drive.path())));
        if (!deck)
            return std::nullopt;
        return std::move(*deck);
    }

    // Sets up what B's next command must carry out, and answers that command.
    QStringList prepare(Change change)
    {
        const QStringList syncNowCommand{QStringLiteral("sync"), QStringLiteral("now")};
        switch (change) {
        case Change::download:
            // A takes what B may have uploaded first, so that A's edit is the only news in the folder.
            syncNow(m_a);
            edit(m_a);
            syncNow(m_a);
            return syncNowCommand;
        case Change::upload:
            edit(m_b);
            return syncNowCommand;
        case Change::import:
            break;
        }
        // An export of the shared deck with one tile changed; every round before has checked that it decodes.
        DeckTransfer::DeckFile file = shared().value();
        file.revision.reset();
        file.sourceDevice.reset();
        file.sourceName.reset();
        ++m_edits;
        Tile tile;
        tile.label = QStringLiteral("import %1").arg(m_edits);
        tile.action = TileAction{TileAction::Snippet{tile.label}};
        Page& page = file.pages.front();
        page[static_cast<std::size_t>(m_edits) % page.size()] = tile;
        const QString path = m_files.filePath(QStringLiteral("deck-%1.marquetto").arg(m_edits));
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(DeckTransfer::encode(file));
        return {QStringLiteral("import"), path, QStringLiteral("--yes")};
    }

    // Runs B's command, killed `delay` after it started when there is a delay.
    [[nodiscard]] Outcome runOnB(const QStringList& arguments, std::optional<microseconds> delay) const
    {
        QProcess process;
        // A group of its own, so that the kill takes the icon helper along and no helper outlives its round.
        process.setChildProcessModifier([] { ::setpgid(0, 0); });
        startDeck(process, m_b.home, arguments);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForStarted());
        const auto started = steady_clock::now();
        if (delay) {
            std::this_thread::sleep_until(started + *delay);
            ::kill(-static_cast<pid_t>(process.processId()), SIGKILL);
        }
        EXPECT_TRUE(process.waitForFinished(30000)) << arguments.join(u' ').toStdString();
        const Outcome outcome{process.exitStatus() == QProcess::CrashExit,
                              std::chrono::duration_cast<microseconds>(steady_clock::now() - started)};
        if (!outcome.killed) {
            EXPECT_EQ(process.exitCode(), 0)
                << arguments.join(u' ').toStdString() << ": " << process.readAllStandardError().toStdString();
        }
        return outcome;
    }

    // Checks what B and the folder hold after a command; false when the layout B had before it is gone.
    [[nodiscard]] bool checkKept(const Pages& before, int round) const
    {
        const std::optional<Pages> now = layoutOf(m_b);
        EXPECT_TRUE(now) << "B's layout file does not decode after round " << round;
        EXPECT_TRUE(shared()) << "the shared deck does not decode after round " << round;
        EXPECT_TRUE(QJsonDocument::fromJson(contentsOf(m_b.preferencesFile())).isObject())
            << "B's preferences do not decode after round " << round;
        if (now == before)
            return true;
        const FakeClock clock;
        const auto backups = LayoutBackups(m_b.tilesFile(), m_b.backupsDir(), clock).availableBackups();
        return std::any_of(backups.begin(), backups.end(),
                           [&before](const LayoutBackups::BackupEntry& backup) {
                               return LayoutFile::readPages(backup.path) == before;
                           });
    }

    // Checks that an unkilled command did what the round set it up for.
    void checkCarriedOut(Change change, const Pages& before) const
    {
        const std::optional<Pages> now = layoutOf(m_b);
        const std::optional<DeckTransfer::DeckFile> deck = shared();
        ASSERT_TRUE(now && deck);
        // An import leaves the folder alone; a sync pass makes both sides the same, and a download changes B.
        if (change != Change::import) {
            EXPECT_EQ(*now, deck->pages) << nameOf(change);
        }
        if (change != Change::upload) {
            EXPECT_NE(*now, before) << nameOf(change);
        }
    }
};

TEST_F(SyncKillDrill, KillingTheCompanionAtAnyMomentLosesNoLayoutAndLeavesEveryFileReadable)
{
    const int count = DrillFiles::roundCount(200);
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);

    // A uploads its deck; B, with a layout of its own on disk, takes the shared one.
    edit(m_a);
    edit(m_b);
    must(m_a, {QStringLiteral("sync"), QStringLiteral("on"), m_drive.path(), QStringLiteral("--keep-local")});
    must(m_b, {QStringLiteral("sync"), QStringLiteral("on"), m_drive.path(), QStringLiteral("--use-shared")});
    ASSERT_FALSE(HasFailure());
    ASSERT_EQ(layoutOf(m_b), layoutOf(m_a));

    // Each command's run, measured unkilled twice over; its kills are spread over the longer run.
    std::map<Change, microseconds> window;
    for (int pass = 0; pass < 2; ++pass) {
        for (const Change change : changes) {
            const QStringList command = prepare(change);
            const std::optional<Pages> before = layoutOf(m_b);
            ASSERT_TRUE(before);
            const Outcome outcome = runOnB(command, std::nullopt);
            window[change] = std::max(window[change], outcome.took);
            checkCarriedOut(change, *before);
            ASSERT_FALSE(HasFailure());
        }
    }

    int killed = 0;
    int killedAfterChange = 0;
    int lost = 0;
    testing::Message lostRounds;
    const auto drillStart = steady_clock::now();
    for (int round = 0; round < count && !HasFailure(); ++round) {
        const Change change = changes[static_cast<std::size_t>(round) % changes.size()];
        const QStringList command = prepare(change);
        const std::optional<Pages> before = layoutOf(m_b);
        ASSERT_TRUE(before) << "round " << round;
        const QByteArray sharedBefore = contentsOf(CloudFolder::syncFile(m_drive.path()));
        // Backups of earlier rounds could stand in for a missing one, and at a round every tenth of a second
        // the limit of ten backups with one name a second drops earlier ones: only this command's count.
        QDir(m_b.backupsDir()).removeRecursively();
        const microseconds delay{
            std::uniform_int_distribution<microseconds::rep>(0, window[change].count())(random)};
        const Outcome outcome = runOnB(command, delay);
        if (outcome.killed) {
            ++killed;
            // The kill came after the change had reached the disk: the pass was cut in its last part.
            if (layoutOf(m_b) != before || contentsOf(CloudFolder::syncFile(m_drive.path())) != sharedBefore)
                ++killedAfterChange;
        }
        if (!checkKept(*before, round)) {
            ++lost;
            lostRounds << "\nround " << round << " (" << nameOf(change) << ", killed after " << delay.count()
                       << " µs)";
        }
    }
    const auto drillTook =
        std::chrono::duration_cast<std::chrono::milliseconds>(steady_clock::now() - drillStart);

    // After all the kills both machines still come to the same deck.
    syncNow(m_b);
    syncNow(m_a);
    EXPECT_EQ(layoutOf(m_a), layoutOf(m_b));
    EXPECT_EQ(lost, 0) << "B's layout was lost in" << lostRounds;
    std::cout << "kill drill: " << count << " rounds, " << killed << " killed mid-run (" << killedAfterChange
              << " after their change reached the disk), " << lost << " layouts lost, windows "
              << window[Change::download].count() << "/" << window[Change::upload].count() << "/"
              << window[Change::import].count() << " µs, " << drillTook.count() << " ms\n";
}

} // namespace
