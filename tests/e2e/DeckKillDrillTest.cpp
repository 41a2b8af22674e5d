#include "core/AppPaths.h"
#include "model/LayoutBackups.h"
#include "model/LayoutFile.h"
#include "model/TileCoding.h"
#include "support/DeckProcess.h"
#include "support/DrillFiles.h"
#include "support/FakeClock.h"
#include "support/PrivateSession.h"
#include "support/RunningDeck.h"
#include "support/XvfbSession.h"
#include "sync/CloudFolder.h"
#include "transfer/DeckTransfer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <chrono>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <thread>

// The running deck is killed with SIGKILL at a random moment while the companion has it save a tile, restore
// a layout file, import a deck file or take the other machine's deck from the synced folder. After each
// kill the layout file must decode and the last change the companion reported as done must be in it or in
// the backups. The deck runs on one private X server for the whole drill, as it would in a session: the
// offscreen platform would leave out the window, the key grabs and the desktop queries it makes at start-up.
namespace {

using DrillFiles::contentsOf;
using DrillFiles::layoutOf;
using std::chrono::microseconds;
using std::chrono::steady_clock;

enum class Change { save, restore, import, cloud };
constexpr std::array changes{Change::save, Change::restore, Change::import, Change::cloud};

const char* nameOf(Change change)
{
    switch (change) {
    case Change::save:
        return "save";
    case Change::restore:
        return "restore";
    case Change::import:
        return "import";
    case Change::cloud:
        return "cloud";
    }
    return "";
}

// A change is known by a tile of its own on the first page.
struct Marker {
    int slot = 0;
    QString label;

    [[nodiscard]] bool isIn(const std::optional<Pages>& pages) const
    {
        return pages && !pages->empty() && static_cast<std::size_t>(slot) < pages->front().size() &&
               pages->front()[static_cast<std::size_t>(slot)].label == label;
    }
};

struct Outcome {
    bool killed = false;
    // The layout file at the moment the deck was gone, before the companion could take over.
    QByteArray layoutAtKill;
    bool acknowledged = false;
    microseconds took{};
};

class DeckKillDrill : public ::testing::Test, protected DrillMachines {
protected:
    void SetUp() override
    {
        const QStringList missing = XvfbSession::missingPrograms(false);
        if (!missing.isEmpty())
            GTEST_SKIP() << "needs " << missing.join(u", ").toStdString();
        ASSERT_TRUE(m_session.isReady()) << m_session.error().toStdString();
        ASSERT_TRUE(m_x.start()) << m_x.error().toStdString();
    }

    // The next change's marker, on a slot other than the last change's.
    Marker nextMarker(Change change)
    {
        ++m_changes;
        return {m_changes % 9, QStringLiteral("%1 %2").arg(QLatin1String(nameOf(change))).arg(m_changes)};
    }

    static QByteArray tileJson(const Marker& marker)
    {
        return QStringLiteral(R"({"label":"%1","icon":{"auto":{}},"action":{"snippet":{"text":"%1"}}})")
            .arg(marker.label)
            .toUtf8();
    }

    static QStringList setCommand(const Marker& marker)
    {
        return {QStringLiteral("set"), QStringLiteral("0"), QString::number(marker.slot),
                QStringLiteral("-")};
    }

    static Pages withMarker(Pages pages, const Marker& marker)
    {
        Tile tile;
        tile.label = marker.label;
        tile.action = TileAction{TileAction::Snippet{marker.label}};
        pages.front()[static_cast<std::size_t>(marker.slot)] = tile;
        return pages;
    }

    // Sets up what the deck's next command must carry out; answers the command and its input.
    std::pair<QStringList, QByteArray> prepare(Change change, const Marker& marker)
    {
        const Pages current = layoutOf(m_b).value_or(Pages{Page(9)});
        switch (change) {
        case Change::save:
            return {setCommand(marker), tileJson(marker)};
        case Change::restore: {
            const QString path = m_files.filePath(QStringLiteral("layout-%1.json").arg(m_changes));
            QFile out(path);
            EXPECT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(TileCoding::layoutBytes(withMarker(current, marker)));
            return {{QStringLiteral("restore"), path}, {}};
        }
        case Change::import: {
            DeckTransfer::DeckFile file;
            file.exportedAt = QDateTime::currentDateTimeUtc();
            file.gridColumns = 3;
            file.gridRows = 3;
            file.pages = withMarker(current, marker);
            const QString path = m_files.filePath(QStringLiteral("deck-%1.marquetto").arg(m_changes));
            QFile out(path);
            EXPECT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(DeckTransfer::encode(file));
            return {{QStringLiteral("import"), path, QStringLiteral("--yes")}, {}};
        }
        case Change::cloud:
            // B's deck sends its own edits first, so that A's edit is the newer one and the only news.
            syncNow(m_b);
            syncNow(m_a);
            must(m_a, setCommand(marker), tileJson(marker));
            syncNow(m_a);
            return {{QStringLiteral("sync"), QStringLiteral("now")}, {}};
        }
        return {};
    }

    // Runs the command on B, whose deck is killed `delay` after the command started when there is a delay.
    [[nodiscard]] Outcome runOnB(const std::pair<QStringList, QByteArray>& command,
                                 std::optional<microseconds> delay)
    {
        QProcess process;
        startDeck(process, m_b.home, command.first);
        process.write(command.second);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForStarted());
        const auto started = steady_clock::now();
        Outcome outcome;
        if (delay) {
            std::this_thread::sleep_until(started + *delay);
            outcome.killed = m_deck.isRunning();
            m_deck.kill();
            outcome.layoutAtKill = contentsOf(m_b.tilesFile());
        }
        EXPECT_TRUE(process.waitForFinished(30000)) << command.first.join(u' ').toStdString();
        outcome.took = std::chrono::duration_cast<microseconds>(steady_clock::now() - started);
        outcome.acknowledged = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        if (!delay) {
            EXPECT_TRUE(outcome.acknowledged) << command.first.join(u' ').toStdString() << ": "
                                              << process.readAllStandardError().toStdString();
        }
        return outcome;
    }

    // Whether the marker is in B's layout file or one of its backups; every file must decode.
    [[nodiscard]] bool kept(const Marker& marker, int round) const
    {
        const std::optional<Pages> now = layoutOf(m_b);
        EXPECT_TRUE(now) << "B's layout file does not decode after round " << round;
        EXPECT_TRUE(QJsonDocument::fromJson(contentsOf(m_b.preferencesFile())).isObject())
            << "B's preferences do not decode after round " << round;
        if (marker.isIn(now))
            return true;
        const FakeClock clock;
        const auto backups = LayoutBackups(m_b.tilesFile(), m_b.backupsDir(), clock).availableBackups();
        return std::any_of(backups.begin(), backups.end(),
                           [&marker](const LayoutBackups::BackupEntry& backup) {
                               return marker.isIn(LayoutFile::readPages(backup.path));
                           });
    }

    PrivateSession m_session;
    XvfbSession m_x{{{1280, 800}, false}};
    RunningDeck m_deck{QStringLiteral(MARQUETTO_PATH), m_homeB.path()};
    int m_changes = 0;
};

TEST_F(DeckKillDrill, KillingTheDeckAtAnyMomentKeepsTheLastAcknowledgedChange)
{
    // Each round restarts the deck, which costs several times a companion's run: fewer rounds than the
    // companion's drill keep the two within their time.
    const int count = DrillFiles::roundCount(100);
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);

    // A uploads its deck; B takes it, then its deck starts on it.
    const Marker first = nextMarker(Change::save);
    must(m_a, setCommand(first), tileJson(first));
    must(m_b, setCommand(first), tileJson(first));
    must(m_a, {QStringLiteral("sync"), QStringLiteral("on"), m_drive.path(), QStringLiteral("--keep-local")});
    must(m_b, {QStringLiteral("sync"), QStringLiteral("on"), m_drive.path(), QStringLiteral("--use-shared")});
    ASSERT_TRUE(m_deck.start()) << m_deck.log().toStdString();
    ASSERT_FALSE(HasFailure());

    // Each command's run, unkilled twice over; its kills are spread over the longer run.
    std::map<Change, microseconds> window;
    for (int pass = 0; pass < 2; ++pass) {
        for (const Change change : changes) {
            const Marker marker = nextMarker(change);
            const Outcome outcome = runOnB(prepare(change, marker), std::nullopt);
            window[change] = std::max(window[change], outcome.took);
            EXPECT_TRUE(marker.isIn(layoutOf(m_b))) << nameOf(change);
            ASSERT_FALSE(HasFailure());
        }
    }

    Marker acknowledged = first;
    int killed = 0;
    int killedAfterChange = 0;
    int acknowledgedAfterKill = 0;
    int lost = 0;
    testing::Message lostRounds;
    const auto drillStart = steady_clock::now();
    for (int round = 0; round < count && !HasFailure(); ++round) {
        const Change change = changes[static_cast<std::size_t>(round) % changes.size()];
        const Marker marker = nextMarker(change);
        const auto command = prepare(change, marker);
        const QByteArray before = contentsOf(m_b.tilesFile());
        const microseconds delay{
            std::uniform_int_distribution<microseconds::rep>(0, window[change].count())(random)};
        const Outcome outcome = runOnB(command, delay);
        if (outcome.killed) {
            ++killed;
            if (outcome.layoutAtKill != before)
                ++killedAfterChange;
            if (outcome.acknowledged)
                ++acknowledgedAfterKill;
        }
        // The companion carries out what a killed deck left undone; either way, a change it reports as done
        // is the one to keep from now on.
        if (outcome.acknowledged)
            acknowledged = marker;
        if (!kept(acknowledged, round)) {
            ++lost;
            lostRounds << "\nround " << round << " (" << nameOf(change) << ", killed after " << delay.count()
                       << " µs): " << acknowledged.label.toStdString();
        }
        ASSERT_TRUE(m_deck.isRunning() || m_deck.start())
            << "round " << round << ": " << m_deck.log().toStdString();
    }
    const auto drillTook =
        std::chrono::duration_cast<std::chrono::milliseconds>(steady_clock::now() - drillStart);

    EXPECT_EQ(lost, 0) << "the last acknowledged change was lost in" << lostRounds;
    std::cout << "deck kill drill: " << count << " rounds, " << killed << " decks killed ("
              << killedAfterChange << " after their change reached the disk, " << acknowledgedAfterKill
              << " acknowledged all the same), " << lost << " layouts lost, windows "
              << window[Change::save].count() << "/" << window[Change::restore].count() << "/"
              << window[Change::import].count() << "/" << window[Change::cloud].count() << " µs, "
              << drillTook.count() << " ms\n";
}

} // namespace
