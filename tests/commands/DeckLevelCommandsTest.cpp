#include "commands/DeckLevelCommands.h"

#include "model/Settings.h"
#include "model/TileCoding.h"
#include "platform/linux/desktop/AutostartEntry.h"
#include "platform/linux/desktop/DesktopFile.h"
#include "platform/linux/desktop/LinuxWordings.h"
#include "support/FakeDeckFilePanels.h"
#include "support/FakeDevices.h"
#include "support/LogCapture.h"
#include "support/StoreFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <deque>
#include <gtest/gtest.h>

namespace {

class DeckLevelCommandsTest : public StoreFixture {
protected:
    FakeAlertPresenter m_alerts;
    FakeDeckFilePanels m_panels;
    int m_rebuilds = 0;
    std::deque<std::function<void()>> m_fileWork;
    QString m_program = m_dir.path() + QStringLiteral("/My Apps/$HOME/marquetto");

    // A deck file holding `tiles` on one page, made for the grid, with one custom icon.
    [[nodiscard]] QString deckFile(DeckTransfer::Grid grid, const std::vector<Tile>& tiles) const
    {
        DeckTransfer::DeckFile file;
        file.exportedAt = QDateTime(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);
        file.gridColumns = grid.columns;
        file.gridRows = grid.rows;
        file.pages = {tiles};
        file.icons = {{QStringLiteral("logo.png"), QByteArray("png")}};
        const QString path = m_dir.path() + QStringLiteral("/Incoming.marquetto");
        writeFile(path, DeckTransfer::encode(file));
        return path;
    }

    // Runs the file work handed over, and what each hands back to the main thread, until none is left.
    void finishFileWork()
    {
        while (!m_fileWork.empty()) {
            const std::function<void()> job = std::move(m_fileWork.front());
            m_fileWork.pop_front();
            job();
            QCoreApplication::sendPostedEvents();
        }
    }

    DeckCommands::DeckParts parts()
    {
        if (!m_store)
            makeStore();
        return {*m_store,
                *m_settings,
                *m_starterHint,
                m_clock,
                m_alerts,
                m_panels,
                linuxWordings(),
                m_paths.iconsDir(),
                [](const QByteArray& bytes) {
                    return DeckTransfer::VettedIcon{bytes, QStringLiteral("png")};
                },
                [this](std::function<void()> job) { m_fileWork.push_back(std::move(job)); },
                [this] { ++m_rebuilds; },
                [this](bool on) { return AutostartEntry::set(m_paths, m_program, on); },
                [] { return true; }};
    }
};

TEST_F(DeckLevelCommandsTest, OnlyAChangedLookRebuildsTheDeck)
{
    auto deck = parts();
    struct Step {
        const char* name;
        std::function<void()> command;
        int rebuilds;
    };
    const Step steps[] = {
        {"the current grid", [&] { DeckCommands::setGrid(deck, 3, 3); }, 0},
        {"a wider grid", [&] { DeckCommands::setGrid(deck, 4, 3); }, 1},
        {"the same tile size", [&] { DeckCommands::setTileSize(deck, TileSizeOption::regular); }, 1},
        {"large tiles", [&] { DeckCommands::setTileSize(deck, TileSizeOption::large); }, 2},
        {"the band as it is", [&] { DeckCommands::setShowBand(deck, true); }, 2},
        {"no band", [&] { DeckCommands::setShowBand(deck, false); }, 3},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.command();
        EXPECT_EQ(m_rebuilds, step.rebuilds);
    }
    EXPECT_EQ(m_store->pages()[0].size(), 12u) << "the pages are padded to the new grid";
    EXPECT_EQ(m_settings->tileSize(), TileSizeOption::large);
    EXPECT_FALSE(m_settings->showBand());
}

TEST_F(DeckLevelCommandsTest, RestoringABackupAsksFirstAndSaysWhenItCannotBeRead)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const auto resetLocale = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
    const QString good = m_paths.backupsDir() + QStringLiteral("/tiles-20260305-140709.json");
    const QString bad = m_paths.backupsDir() + QStringLiteral("/tiles-20260306-140709.json");
    writeFile(good, TileCoding::layoutBytes({{snippetTile(QStringLiteral("restored"))}}));
    writeFile(bad, "[[{]]");
    auto deck = parts();
    const QDateTime date(QDate(2026, 3, 5), QTime(14, 7, 9));

    m_alerts.answer = 1;
    DeckCommands::restoreBackup(deck, {good, date});
    ASSERT_EQ(m_alerts.shown.size(), 1u);
    EXPECT_EQ(
        m_alerts.shown[0],
        (Alert{QStringLiteral("Restore this backup?"),
               QStringLiteral("Your layout will be replaced with the backup from Mar 5, 2026, 2:07:09 PM. "
                              "The current layout is backed up first, so you can undo this the same way."),
               {QStringLiteral("Restore"), QStringLiteral("Cancel")}}));
    EXPECT_TRUE(m_store->tile(0, 0).isEmpty());

    m_alerts.answer = 0;
    DeckCommands::restoreBackup(deck, {bad, date});
    ASSERT_EQ(m_alerts.shown.size(), 3u);
    EXPECT_EQ(m_alerts.shown[2].message, QStringLiteral("Couldn't read that backup."));
    EXPECT_TRUE(m_store->tile(0, 0).isEmpty());

    DeckCommands::restoreBackup(deck, {good, date});
    EXPECT_EQ(m_alerts.shown.size(), 4u);
    EXPECT_EQ(m_store->tile(0, 0).action, snippetTile(QStringLiteral("restored")).action);
}

TEST_F(DeckLevelCommandsTest, LaunchAtLoginWritesAnAutostartEntryOrLogsWhyNot)
{
    auto deck = parts();
    const QString entry = AutostartEntry::path(m_paths);

    DeckCommands::setLaunchAtLogin(deck, true);
    const auto written = DesktopFile::read(entry);
    ASSERT_TRUE(written) << written.error().toStdString();
    const auto command = written->commandLine();
    ASSERT_TRUE(command) << command.error().toStdString();
    EXPECT_EQ(*command, QStringList{m_program});

    DeckCommands::setLaunchAtLogin(deck, false);
    EXPECT_FALSE(exists(entry));

    LogCapture log;
    QDir(QFileInfo(entry).path()).removeRecursively();
    writeFile(QFileInfo(entry).path(), "a file where the folder should be");
    DeckCommands::setLaunchAtLogin(deck, true);
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines()[0].startsWith(QStringLiteral("Marquetto: launch-at-login toggle failed: ")));
}

TEST_F(DeckLevelCommandsTest, ImportingAsksWithWhatTheDeckHoldsAndRebuildsOnlyForANewGrid)
{
    Tile scene = snippetTile(QStringLiteral("scene"));
    scene.action =
        TileAction{TileAction::Sequence{{TileAction{TileAction::RunScript{QStringLiteral("ls")}}}}};
    const QString trust = QStringLiteral("Only import a deck from someone you trust.");
    const QString backedUp = QStringLiteral(
        "Your current layout is backed up first, so you can undo this from your backups in Settings.");
    struct Case {
        const char* name;
        DeckTransfer::Grid grid;
        std::vector<Tile> tiles;
        QString text;
        bool isWarning;
        int rebuilds;
    };
    const Case cases[] = {
        {"one tile",
         {4, 3},
         {snippetTile(QStringLiteral("a"))},
         QStringLiteral("It has 1 tile on 1 page. ") + backedUp,
         false,
         0},
        {"a script inside a scene",
         {3, 4},
         {scene, snippetTile(QStringLiteral("b"))},
         QStringLiteral("It has 2 tiles on 1 page. ") + backedUp +
             QStringLiteral("\n\n1 of them runs a script on this computer. ") + trust,
         true,
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(m_paths.supportDir()).removeRecursively();
        makeStore();
        m_settings->setGrid(4, 3);
        m_starterHint->show();
        auto deck = parts();
        m_rebuilds = 0;
        m_alerts.shown.clear();
        m_panels.answer = deckFile(c.grid, c.tiles);

        m_alerts.answer = 1;
        DeckCommands::importDeck(deck);
        EXPECT_TRUE(m_alerts.shown.empty()) << "the file is read off the main thread first";
        finishFileWork();
        ASSERT_EQ(m_alerts.shown.size(), 1u);
        EXPECT_EQ(m_alerts.shown[0], (Alert{QStringLiteral("Replace your layout with this deck?"),
                                            c.text,
                                            {QStringLiteral("Replace"), QStringLiteral("Cancel")},
                                            c.isWarning}));
        EXPECT_TRUE(QDir(m_paths.iconsDir()).isEmpty()) << "nothing is written before the user agrees";
        EXPECT_TRUE(m_starterHint->isPending());

        // Opened from a file manager, the file asks the same question without a panel.
        m_alerts.answer = 0;
        DeckCommands::importDeckFile(deck, *m_panels.answer);
        finishFileWork();
        EXPECT_EQ(m_alerts.shown.size(), 2u);
        EXPECT_EQ(m_store->tile(0, 0).action, c.tiles[0].action);
        EXPECT_EQ(m_rebuilds, c.rebuilds);
        EXPECT_EQ(m_settings->gridColumns(), c.grid.columns);
        EXPECT_FALSE(m_starterHint->isPending());
    }
}

TEST_F(DeckLevelCommandsTest, ExportAndImportSayWhyTheyFailedAndDoNothingWhenDismissed)
{
    auto deck = parts();
    DeckCommands::exportDeck(deck);
    DeckCommands::importDeck(deck);
    EXPECT_TRUE(m_alerts.shown.empty());
    EXPECT_EQ(m_panels.asked,
              (QStringList{
                  QStringLiteral("My Deck.marquetto|Your tiles, pages and custom icons, saved as one file."),
                  QStringLiteral("open")}));

    m_panels.answer = m_dir.path() + QStringLiteral("/no folder/My Deck.marquetto");
    DeckCommands::exportDeck(deck);
    DeckCommands::importDeck(deck);
    finishFileWork();
    ASSERT_EQ(m_alerts.shown.size(), 2u);
    EXPECT_EQ(m_alerts.shown[0].message, QStringLiteral("Couldn't export your deck."));
    EXPECT_FALSE(m_alerts.shown[0].informativeText.isEmpty());
    EXPECT_EQ(m_alerts.shown[1].message, QStringLiteral("Couldn't import that deck."));
    EXPECT_EQ(m_alerts.shown[1].informativeText,
              DeckTransfer::description(DeckTransfer::TransferError::unreadable));
}

} // namespace
