#include "sync/CloudDeck.h"

#include "model/Settings.h"
#include "model/StarterHint.h"
#include "platform/linux/desktop/LinuxWordings.h"
#include "support/FakeClock.h"
#include "support/FakeDevices.h"
#include "support/FakeMusicBridge.h"
#include "support/TempHome.h"
#include "sync/CloudFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

Tile snippet(const QString& text)
{
    Tile tile;
    tile.action = TileAction{TileAction::Snippet{text}};
    return tile;
}

// One machine: its own home, preferences, store and sync engine, all sharing `driveRoot`. Without a first
// tile it is a first launch, which installs a one-tile starter deck.
struct Machine {
    Machine(const QString& home, const QString& driveRoot, const QString& firstTile)
        : paths(AppPaths::forHome(home))
    {
        if (!firstTile.isEmpty())
            LayoutFile(paths, clock).write({{snippet(firstTile)}});
        store = std::make_unique<TileStore>(
            TileStore::Services{paths, settings, starterHint, clock, music,
                                [](int) { return std::vector<Tile>{snippet(QStringLiteral("starter"))}; }});
        settings.setCloudDeckFolder(driveRoot);
        cloud = std::make_unique<CloudDeck>(
            CloudDeck::Services{*store,
                                settings,
                                starterHint,
                                clock,
                                alerts,
                                linuxWordings(),
                                paths.iconsDir(),
                                [](const QByteArray&) { return std::optional<DeckTransfer::VettedIcon>(); },
                                [this] { return settings.cloudDeckFolder(); },
                                {},
                                [] { return QStringLiteral("Ada's laptop"); }});
    }

    // Runs a pass, or the switch-on sequence, to its end.
    void settle()
    {
        for (int round = 0; round < 20 && (cloud->isRunning() || cloud->isTurningOn()); ++round) {
            cloud->queue().waitForDone();
            QCoreApplication::processEvents();
        }
        ASSERT_FALSE(cloud->isRunning());
    }
    void pass()
    {
        cloud->check();
        settle();
    }
    void switchOn(std::optional<CloudDeck::Side> answer)
    {
        cloud->setCloudDeck(true, [this, answer](const Alert& question) {
            asked.push_back(question);
            return answer;
        });
        settle();
    }
    [[nodiscard]] QString firstLabel() const
    {
        const auto& action = store->pages().front().front().action;
        const auto* snippet = action ? action->as<TileAction::Snippet>() : nullptr;
        return snippet ? snippet->text : QString();
    }
    [[nodiscard]] bool backedUp(const QString& label) const
    {
        const QDir backups(paths.backupsDir());
        for (const QString& name : backups.entryList(QDir::Files)) {
            QFile file(backups.filePath(name));
            if (file.open(QIODevice::ReadOnly) && file.readAll().contains(label.toUtf8()))
                return true;
        }
        return false;
    }

    AppPaths paths;
    FakeClock clock;
    FakeMusicBridge music;
    FakeAlertPresenter alerts;
    Preferences preferences{paths.preferencesFile()};
    DeckSettings settings{preferences};
    StarterHint starterHint{preferences};
    std::unique_ptr<TileStore> store;
    std::unique_ptr<CloudDeck> cloud;
    std::vector<Alert> asked;
};

class CloudDeckTest : public TempHome {
protected:
    QString m_drive = m_paths.home + QStringLiteral("/Sync");
    QString m_file = CloudFolder::syncFile(m_drive);
    std::unique_ptr<Machine> m_a;
    std::unique_ptr<Machine> m_b;

    void SetUp() override { makeMachines(QStringLiteral("a"), QStringLiteral("b")); }
    void makeMachines(const QString& a, const QString& b)
    {
        QDir().mkpath(m_drive);
        QFile::remove(m_file);
        m_a = std::make_unique<Machine>(m_paths.home + u'/' + a, m_drive, QStringLiteral("from A"));
        m_b = std::make_unique<Machine>(m_paths.home + u'/' + b, m_drive, QStringLiteral("from B"));
    }
};

TEST_F(CloudDeckTest, FirstSwitchOnUploadsOrAsksAndTheDeckNotKeptIsBackedUp)
{
    for (const CloudDeck::Side answer : {CloudDeck::Side::cloud, CloudDeck::Side::local}) {
        const QString round = QString::number(static_cast<int>(answer));
        makeMachines(QStringLiteral("a") + round, QStringLiteral("b") + round);
        m_a->switchOn(std::nullopt);
        EXPECT_TRUE(m_a->asked.empty()) << "nothing shared yet: nothing to ask";
        EXPECT_EQ(m_a->settings.cloudDeckRevision(), 1);
        EXPECT_EQ(m_a->settings.cloudDeckFileFingerprint(), m_a->cloud->localFingerprint());
        EXPECT_TRUE(m_a->cloud->status().startsWith(QStringLiteral("Last synced at ")));

        m_b->switchOn(answer);
        ASSERT_EQ(m_b->asked.size(), 1u);
        EXPECT_TRUE(m_b->asked.front().informativeText.startsWith(
            QStringLiteral("Sync already has a deck from Ada's laptop, with 1 tile, saved ")));
        m_a->pass();
        const QString winner =
            answer == CloudDeck::Side::cloud ? QStringLiteral("from A") : QStringLiteral("from B");
        EXPECT_EQ(m_a->firstLabel(), winner);
        EXPECT_EQ(m_b->firstLabel(), winner);
        const QString loser =
            answer == CloudDeck::Side::cloud ? QStringLiteral("from B") : QStringLiteral("from A");
        EXPECT_TRUE(m_b->backedUp(loser)) << "the deck not kept is among B's backups";
        EXPECT_EQ(m_b->settings.cloudDeckRevision(), answer == CloudDeck::Side::cloud ? 1 : 2);
    }
}

TEST_F(CloudDeckTest, AnUntouchedDeckWaitsForAnEditAndNeverReplacesTheSharedDeck)
{
    m_a->switchOn(std::nullopt);
    const QByteArray shared = readFile(m_file);
    // C's sync client has not pulled the folder yet: C switches on to an empty folder of its own.
    const QString unpulled = m_paths.home + QStringLiteral("/Unpulled");
    QDir().mkpath(unpulled);
    auto c = std::make_unique<Machine>(m_paths.home + QStringLiteral("/c"), unpulled, QString());
    c->switchOn(std::nullopt);
    const QString waiting = QStringLiteral("Waiting for your first edit before sharing this deck.");
    EXPECT_EQ(c->cloud->status(), waiting);
    c->settings.setGrid(3, 4);
    c->pass();
    c.reset();
    c = std::make_unique<Machine>(m_paths.home + QStringLiteral("/c"), unpulled, QString());
    c->pass();
    EXPECT_EQ(c->cloud->status(), waiting) << "the starter deck on disk is still nobody's deck";
    EXPECT_FALSE(exists(CloudFolder::syncFile(unpulled))) << "nothing the user made, nothing to share";

    // The client brings the shared deck at last: C takes it, A keeps its own.
    QDir().mkpath(CloudFolder::syncFolder(unpulled));
    writeFile(CloudFolder::syncFile(unpulled), shared);
    c->pass();
    EXPECT_EQ(c->firstLabel(), QStringLiteral("from A"));
    m_a->pass();
    EXPECT_EQ(m_a->firstLabel(), QStringLiteral("from A"));
    EXPECT_EQ(readFile(m_file), shared);

    const QString empty = m_paths.home + QStringLiteral("/Empty");
    QDir().mkpath(empty);
    auto d = std::make_unique<Machine>(m_paths.home + QStringLiteral("/d"), empty, QString());
    d->switchOn(std::nullopt);
    d->store->set(snippet(QStringLiteral("mine")), 0, 1);
    d->cloud->sendDue();
    d->settle();
    EXPECT_TRUE(d->cloud->status().startsWith(QStringLiteral("Last synced at "))) << "an edit is shared";
}

TEST_F(CloudDeckTest, ADeckNoReaderWouldTakeIsNotUploadedAndTheStatusSaysWhy)
{
    m_a->switchOn(std::nullopt);
    const QByteArray shared = readFile(m_file);
    // Three photos as custom icons: their Base64 alone passes what every reader takes.
    for (int index = 1; index <= 3; ++index) {
        const QString name = QStringLiteral("photo%1.png").arg(index);
        writeFile(m_a->paths.iconsDir() + u'/' + name,
                  QByteArray(18'000'000, static_cast<char>('a' + index)));
        Tile tile = snippet(name);
        tile.icon = TileIcon{TileIcon::Custom{name}};
        m_a->store->set(tile, 0, index);
    }
    const QString tooLarge =
        QStringLiteral("Your deck is too large to sync. Use fewer or smaller custom icons.");
    for (int round = 0; round < 2; ++round) {
        m_a->pass();
        EXPECT_EQ(m_a->cloud->status(), tooLarge);
        EXPECT_EQ(readFile(m_file), shared) << "the shared deck stays as it was";
    }
    m_a->store->set(snippet(QStringLiteral("small again")), 0, 1);
    m_a->store->set(snippet(QStringLiteral("small again")), 0, 2);
    m_a->store->set(snippet(QStringLiteral("small again")), 0, 3);
    m_a->pass();
    EXPECT_TRUE(m_a->cloud->status().startsWith(QStringLiteral("Last synced at ")));
}

TEST_F(CloudDeckTest, ScriptsThatComeWithTheSyncedDeckStayOffUntilTheUserAllowsThem)
{
    Tile script;
    script.action = TileAction{TileAction::RunScript{QStringLiteral("touch ~/ran"), false}};
    m_a->store->set(script, 0, 1);
    m_a->switchOn(std::nullopt);
    m_b->alerts.answer = 1;
    m_b->switchOn(CloudDeck::Side::cloud);
    ASSERT_EQ(m_b->alerts.shown.size(), 1u);
    EXPECT_EQ(m_b->alerts.shown.back().message,
              QStringLiteral("The synced deck from Ada's laptop has 1 tile that runs a script."));
    const Tile arrived = m_b->store->tile(0, 1);
    EXPECT_EQ(arrived, script) << "the deck is the same on both machines";
    EXPECT_FALSE(m_b->cloud->mayRun(arrived));
    EXPECT_EQ(m_b->alerts.shown.size(), 2u) << "running it asks again";
    EXPECT_TRUE(m_b->cloud->mayRun(m_b->store->tile(0, 0))) << "other tiles run as before";
    EXPECT_TRUE(m_a->cloud->mayRun(script)) << "A's own script is A's";

    // Other changes apply without a word; a changed script is held again until allowed.
    m_a->store->set(snippet(QStringLiteral("renamed")), 0, 0);
    m_a->cloud->sendDue();
    m_a->settle();
    m_b->pass();
    EXPECT_EQ(m_b->firstLabel(), QStringLiteral("renamed"));
    EXPECT_EQ(m_b->alerts.shown.size(), 2u);
    m_b->alerts.answer = 0;
    EXPECT_TRUE(m_b->cloud->mayRun(arrived));
    EXPECT_TRUE(m_b->settings.cloudDeckHeldScripts().isEmpty());

    Tile changed = script;
    changed.action =
        TileAction{TileAction::Sequence{{TileAction{TileAction::RunScript{QStringLiteral("beep"), true}}}}};
    m_a->store->set(changed, 0, 1);
    m_a->cloud->sendDue();
    m_a->settle();
    m_b->alerts.answer = 1;
    m_b->pass();
    EXPECT_EQ(m_b->alerts.shown.size(), 4u);
    EXPECT_FALSE(m_b->cloud->mayRun(m_b->store->tile(0, 1)));
    Tile ownEdit = changed;
    ownEdit.action = TileAction{TileAction::RunScript{QStringLiteral("echo mine"), false}};
    m_b->store->set(ownEdit, 0, 1);
    EXPECT_TRUE(m_b->cloud->mayRun(m_b->store->tile(0, 1))) << "what the user writes is the user's";
}

TEST_F(CloudDeckTest, WhenBothEditedTheLaterEditWinsAndTheSameSecondGoesToTheFile)
{
    m_a->switchOn(std::nullopt);
    m_b->switchOn(CloudDeck::Side::cloud);
    struct Case {
        qint64 bLater;
        const char* winner;
    };
    for (const Case& edit : {Case{5, "B"}, Case{0, "A"}}) {
        m_a->store->set(snippet(QStringLiteral("A")), 0, 0);
        m_b->clock.set(m_a->clock.now().addSecs(edit.bLater));
        m_b->store->set(snippet(QStringLiteral("B")), 0, 0);
        EXPECT_TRUE(m_a->cloud->isSendPending());
        m_a->cloud->sendDue();
        m_a->settle();
        m_b->pass();
        m_a->pass();
        EXPECT_EQ(m_a->firstLabel(), QString::fromUtf8(edit.winner));
        EXPECT_EQ(m_b->firstLabel(), QString::fromUtf8(edit.winner));
    }
}

TEST_F(CloudDeckTest, AClockSetBackNeverMakesAnEditOlderThanTheDeckItWasMadeOn)
{
    m_a->switchOn(std::nullopt);
    const double synced = m_a->settings.cloudDeckLayoutEdit();
    m_a->clock.advance(-3600);
    m_a->store->set(snippet(QStringLiteral("later")), 0, 0);
    EXPECT_GE(m_a->settings.cloudDeckLayoutEdit(), synced);
}

TEST_F(CloudDeckTest, AFolderThatFailsLosesNothingAndSaysWhatHappened)
{
    m_a->switchOn(std::nullopt);
    m_b->switchOn(CloudDeck::Side::cloud);
    const QByteArray shared = readFile(m_file);
    const QString conflict =
        CloudFolder::syncFolder(m_drive) + QStringLiteral("/Deck.sync-conflict-1.marquetto");
    writeFile(conflict, "another machine's edit");

    writeFile(m_file, shared.left(shared.size() / 2));
    m_b->store->set(snippet(QStringLiteral("kept")), 0, 0);
    m_b->pass();
    EXPECT_EQ(m_b->cloud->status(), QStringLiteral("Waiting for Sync…")) << "a half-written file gets a pass";
    m_b->pass();
    EXPECT_EQ(m_b->cloud->status().left(15), QStringLiteral("Last synced at "))
        << "then B's real deck replaces it";

    writeFile(CloudFolder::syncFolder(m_drive) + QStringLiteral("/.syncthing.Deck.marquetto.tmp"), "half");
    m_a->store->set(snippet(QStringLiteral("A's")), 0, 0);
    writeFile(m_file, "{");
    m_a->pass();
    EXPECT_EQ(m_a->firstLabel(), QStringLiteral("A's")) << "a download in progress is not read";
    EXPECT_TRUE(exists(conflict));

    QFile::remove(CloudFolder::syncFolder(m_drive) + QStringLiteral("/.syncthing.Deck.marquetto.tmp"));
    // A folder that refuses writes (a file where the folder should be: permissions do not stop root).
    QDir(CloudFolder::syncFolder(m_drive)).removeRecursively();
    writeFile(CloudFolder::syncFolder(m_drive), "not a folder");
    m_a->pass();
    EXPECT_EQ(m_a->cloud->status(), QStringLiteral("Couldn't save to Sync. Trying again shortly."));

    QDir(m_drive).removeRecursively();
    m_a->pass();
    EXPECT_EQ(m_a->cloud->status(),
              QStringLiteral("The folder Sync isn't there. Reconnect it to keep syncing."));
    EXPECT_EQ(m_a->firstLabel(), QStringLiteral("A's"));
}

// Taking the other machine's deck is only done once it is on disk: until then the status says so, and the
// agreement is not recorded, so a deck that restarts with its old layout takes the shared one again.
TEST_F(CloudDeckTest, AnUpdateThatCannotBeSavedHereNeverPassesForUpdated)
{
    m_a->switchOn(std::nullopt);
    m_b->switchOn(CloudDeck::Side::cloud);
    const QString agreedFile = m_b->settings.cloudDeckFileFingerprint();
    m_a->store->set(snippet(QStringLiteral("new")), 0, 0);
    m_a->cloud->sendDue();
    m_a->settle();
    // A folder where the layout file should be: the write fails, even for root.
    const QByteArray saved = readFile(m_b->paths.tilesFile());
    ASSERT_TRUE(QFile::remove(m_b->paths.tilesFile()));
    writeFile(m_b->paths.tilesFile() + QStringLiteral("/in the way"), "");

    const QString notSaved = QStringLiteral("Couldn't save the deck on this computer. Trying again shortly.");
    for (int pass = 0; pass < 2; ++pass) {
        m_b->pass();
        EXPECT_EQ(m_b->cloud->status(), notSaved) << pass;
        EXPECT_EQ(m_b->settings.cloudDeckFileFingerprint(), agreedFile) << pass;
    }

    QDir(m_b->paths.tilesFile()).removeRecursively();
    m_b->pass();
    EXPECT_EQ(m_b->cloud->status(), QStringLiteral("Up to date"));
    EXPECT_NE(readFile(m_b->paths.tilesFile()), saved);
    EXPECT_TRUE(readFile(m_b->paths.tilesFile()).contains("new"));
    EXPECT_EQ(m_b->settings.cloudDeckFileFingerprint(), m_b->cloud->localFingerprint());
}

TEST_F(CloudDeckTest, AnUpdateWaitsWhileTheUserEditsAndTurningOffStopsWatching)
{
    m_a->switchOn(std::nullopt);
    m_b->switchOn(CloudDeck::Side::cloud);
    m_a->store->set(snippet(QStringLiteral("new")), 0, 0);
    m_a->cloud->sendDue();
    m_a->settle();
    bool editing = true;
    m_b->cloud->setEditingCheck([&editing] { return editing; });
    m_b->pass();
    EXPECT_EQ(m_b->cloud->status(), QStringLiteral("Update waiting until you finish editing…"));
    editing = false;
    m_b->pass();
    EXPECT_EQ(m_b->firstLabel(), QStringLiteral("new"));
    EXPECT_TRUE(m_b->cloud->status().startsWith(QStringLiteral("Updated from Ada's laptop at ")));

    m_b->cloud->setCloudDeck(false);
    m_b->store->set(snippet(QStringLiteral("offline")), 0, 0);
    EXPECT_FALSE(m_b->cloud->isSendPending());
    EXPECT_FALSE(m_b->settings.cloudDeck());
}

} // namespace
