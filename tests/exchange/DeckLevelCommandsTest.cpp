#include "exchange/DeckLevelCommands.h"

#include "model/Settings.h"
#include "model/TileCoding.h"
#include "platform/linux/AutostartEntry.h"
#include "platform/linux/DesktopFile.h"
#include "platform/linux/LinuxWordings.h"
#include "support/FakeDeckFilePanels.h"
#include "support/FakeDevices.h"
#include "support/LogCapture.h"
#include "support/StoreFixture.h"

#include <QDir>
#include <QLocale>
#include <gtest/gtest.h>

namespace {

class DeckLevelCommandsTest : public StoreFixture {
protected:
    FakeAlertPresenter m_alerts;
    FakeDeckFilePanels m_panels;
    int m_rebuilds = 0;
    QString m_program = m_dir.path() + QStringLiteral("/My Apps/$HOME/marquetto");

    DeckCommands::DeckParts parts()
    {
        if (!m_store)
            makeStore();
        return {*m_store,
                *m_settings,
                *m_starterHint,
                m_alerts,
                m_panels,
                linuxWordings(),
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

} // namespace
