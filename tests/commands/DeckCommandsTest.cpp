#include "commands/DeckCommands.h"

#include "commands/DeckRemote.h"
#include "model/TileCoding.h"
#include "support/ActionMachinery.h"
#include "support/FakeApplicationNames.h"
#include "support/FakeKeyboardShortcutSetup.h"
#include "support/StoreFixture.h"
#include "transfer/SyncedScripts.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

class DeckCommandsTest : public StoreFixture {
protected:
    void SetUp() override
    {
        Tile script;
        script.label = QStringLiteral("");
        script.action = TileAction{TileAction::RunScript{QStringLiteral("echo hi > /tmp/x"), false}};
        writeFile(m_paths.tilesFile(), TileCoding::layoutBytes({{script}, {}}));
        makeStore();
    }

    enum class Side { companion, deck };

    int run(const QStringList& arguments, const QByteArray& input = {}, Side side = Side::companion)
    {
        m_out.clear();
        m_err.clear();
        QBuffer in;
        in.setData(input);
        in.open(QIODevice::ReadOnly);
        QTextStream out(&m_out);
        QTextStream err(&m_err);
        if (!m_actions)
            m_actions = std::make_unique<ActionMachinery>(*m_preferences);
        DeckCommands::Context context{
            .store = *m_store,
            .settings = *m_settings,
            .names = m_names,
            .runner = [this]() -> ActionRunner& {
                ++m_runnerAsked;
                return m_actions->runner;
            },
            .deck = m_deck,
            .in = in,
            .out = out,
            .err = err,
            .shortcutSetup = m_shortcutSetup,
            .companion = QStringLiteral("/usr/bin/marquetto-deck"),
        };
        return side == Side::deck ? DeckCommands::runInDeck(context, arguments)
                                  : DeckCommands::run(context, arguments);
    }

    QJsonObject printed()
    {
        EXPECT_EQ(run({QStringLiteral("print")}), DeckCommands::success);
        return QJsonDocument::fromJson(m_out.toUtf8()).object();
    }

    FakeApplicationNames m_names;
    QString m_out;
    QString m_err;
    std::unique_ptr<ActionMachinery> m_actions;
    DeckRemote* m_deck = nullptr;
    KeyboardShortcutSetup* m_shortcutSetup = nullptr;
    int m_runnerAsked = 0;
};

namespace {

class FakeDeck final : public DeckRemote {
public:
    [[nodiscard]] QJsonObject state() const override { return {{QStringLiteral("currentPage"), 1}}; }
    [[nodiscard]] QJsonObject band() const override { return {{QStringLiteral("units"), 5}}; }
    void toggleSummon() override { ++summons; }
    bool fire(int index) override
    {
        fired.push_back(index);
        return index != 8;
    }
    void setEditing(bool editing) override { edits.push_back(editing); }
    void openSettings(const QString& tab) override { settingsTabs.append(tab); }

    int summons = 0;
    QStringList settingsTabs;
    std::vector<int> fired;
    std::vector<bool> edits;
};

} // namespace

TEST_F(DeckCommandsTest, PrintShowsTheDeckWithDerivedTexts)
{
    const QJsonObject deck = printed();
    EXPECT_EQ(deck.value(QStringLiteral("currentPage")), 0);
    EXPECT_EQ(deck.value(QStringLiteral("gridColumns")), 3);
    EXPECT_EQ(deck.value(QStringLiteral("gridRows")), 3);
    const QJsonArray pages = deck.value(QStringLiteral("pages")).toArray();
    ASSERT_EQ(pages.size(), 2);
    const QJsonArray first = pages[0].toArray();
    ASSERT_EQ(first.size(), 9);
    const QJsonObject script = first[0].toObject();
    EXPECT_EQ(script.value(QStringLiteral("index")), 0);
    EXPECT_EQ(script.value(QStringLiteral("defaultLabel")), QStringLiteral("Script"));
    EXPECT_EQ(script.value(QStringLiteral("tooltip")), QStringLiteral("echo hi > /tmp/x"));
    EXPECT_EQ(TileCoding::decodeTile(script.value(QStringLiteral("tile")))->action,
              m_store->tile(0, 0).action);
    const QJsonObject empty = first[8].toObject();
    EXPECT_EQ(empty.value(QStringLiteral("index")), 8);
    EXPECT_FALSE(empty.contains(QStringLiteral("defaultLabel")));
    EXPECT_FALSE(empty.contains(QStringLiteral("tooltip")));
}

TEST_F(DeckCommandsTest, AnApplicationTileIsLabelledWithTheNameTheDesktopGivesIt)
{
    const QStringList paths{m_names.known, QStringLiteral("/usr/share/applications/gone.desktop")};
    for (int index : {6, 7}) {
        Tile tile;
        tile.action = TileAction{TileAction::LaunchApp{paths[index - 6]}};
        m_store->set(tile, 0, index);
    }
    const QJsonArray first = printed().value(QStringLiteral("pages")).toArray()[0].toArray();
    EXPECT_EQ(first[6].toObject().value(QStringLiteral("defaultLabel")), QStringLiteral("Files"));
    EXPECT_EQ(first[6].toObject().value(QStringLiteral("tooltip")), QStringLiteral("Files"));
    // An entry the desktop no longer has keeps the name its file gives.
    EXPECT_EQ(first[7].toObject().value(QStringLiteral("defaultLabel")), QStringLiteral("gone"));
}

TEST_F(DeckCommandsTest, SetReplacesASlotAndWritesAtOnce)
{
    const QUuid slotId = m_store->tile(1, 4).id;
    EXPECT_EQ(
        run({QStringLiteral("set"), QStringLiteral("1"), QStringLiteral("4"),
             QStringLiteral(
                 R"({"label":"Docs","icon":{"auto":{}},"action":{"openURL":{"urlString":"https://example.org"}}})")}),
        DeckCommands::success);
    EXPECT_EQ(m_store->tile(1, 4).id, slotId) << "the slot keeps its id";
    EXPECT_EQ(m_store->tile(1, 4).label, QStringLiteral("Docs"));
    EXPECT_FALSE(m_store->isSavePending());
    EXPECT_TRUE(readFile(m_paths.tilesFile()).contains("Docs"));

    const QByteArray fromStdin =
        R"({"id":"0F2B5C1E-9A3D-4E6F-8B7A-1C2D3E4F5A6B","label":"","icon":{"auto":{}},"action":{"nowPlaying":{}}})";
    EXPECT_EQ(run({QStringLiteral("set"), QStringLiteral("0"), QStringLiteral("8"), QStringLiteral("-")},
                  fromStdin),
              DeckCommands::success);
    EXPECT_EQ(m_store->tile(0, 8).id,
              QUuid::fromString(QStringLiteral("0F2B5C1E-9A3D-4E6F-8B7A-1C2D3E4F5A6B")));
}

TEST_F(DeckCommandsTest, RunLeavesAScriptThatCameWithTheSyncedDeckOff)
{
    const Tile script = m_store->tile(0, 0);
    m_settings->setCloudDeckHeldScripts({*SyncedScripts::digest(*script.action)});
    EXPECT_EQ(run({QStringLiteral("run"), QStringLiteral("0"), QStringLiteral("0")}), DeckCommands::failure);
    EXPECT_EQ(m_runnerAsked, 0);
    EXPECT_TRUE(m_err.contains(QStringLiteral("sync allow-scripts"))) << m_err.toStdString();
}

TEST_F(DeckCommandsTest, BadInputIsRefusedAndTheDeckIsUntouched)
{
    const QByteArray before = readFile(m_paths.tilesFile());
    struct Case {
        QStringList arguments;
        int status;
        QString message;
    };
    const QString set = QStringLiteral("set");
    const std::vector<Case> cases{
        {{set, QStringLiteral("0"), QStringLiteral("0"),
          QStringLiteral(R"({"label":"","icon":{},"action":null})")},
         DeckCommands::failure,
         QStringLiteral(
             "marquetto-deck: Invalid tile: Invalid number of keys found, expected one. (at icon)\n")},
        {{set, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("{not json")},
         DeckCommands::failure,
         {}},
        {{set, QStringLiteral("2"), QStringLiteral("0"), QStringLiteral("{}")},
         DeckCommands::failure,
         QStringLiteral("marquetto-deck: There is no slot 0 on page 2.\n")},
        {{set, QStringLiteral("zero"), QStringLiteral("0"), QStringLiteral("{}")},
         DeckCommands::badUsage,
         {}},
        {{QStringLiteral("restore"), m_paths.tilesFile() + QStringLiteral(".missing")},
         DeckCommands::failure,
         QStringLiteral("marquetto-deck: Couldn't read that backup.\n")},
        {{QStringLiteral("page"), QStringLiteral("move"), QStringLiteral("0"), QStringLiteral("5")},
         DeckCommands::failure,
         QStringLiteral("marquetto-deck: There is no page 5.\n")},
        {{QStringLiteral("page"), QStringLiteral("fly")}, DeckCommands::badUsage, {}},
        {{}, DeckCommands::badUsage, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.arguments), c.status) << c.arguments.join(u' ').toStdString();
        if (!c.message.isEmpty())
            EXPECT_EQ(m_err, c.message);
        else
            EXPECT_FALSE(m_err.isEmpty());
    }
    EXPECT_EQ(readFile(m_paths.tilesFile()), before);
    EXPECT_FALSE(m_store->isSavePending());
}

TEST_F(DeckCommandsTest, PageCommandsAndBackupsWorkOnTheFiles)
{
    EXPECT_EQ(run({QStringLiteral("page"), QStringLiteral("add")}), DeckCommands::success);
    EXPECT_EQ(run({QStringLiteral("page"), QStringLiteral("move"), QStringLiteral("0"), QStringLiteral("2")}),
              DeckCommands::success);
    ASSERT_TRUE(m_store->tile(2, 0).action);
    m_clock.advance(1);
    EXPECT_EQ(run({QStringLiteral("page"), QStringLiteral("delete"), QStringLiteral("2")}),
              DeckCommands::success);
    EXPECT_EQ(m_store->pages().size(), 2u);
    EXPECT_EQ(run({QStringLiteral("page"), QStringLiteral("delete")}), DeckCommands::success);
    EXPECT_EQ(run({QStringLiteral("page"), QStringLiteral("delete")}), DeckCommands::failure);
    EXPECT_EQ(m_err, QStringLiteral("marquetto-deck: The deck's only page can't be deleted.\n"));

    ASSERT_EQ(run({QStringLiteral("backups")}), DeckCommands::success);
    const QStringList lines = m_out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    const QStringList newest = lines.first().split(u'\t');
    ASSERT_EQ(newest.size(), 2);
    EXPECT_TRUE(newest[0].startsWith(QStringLiteral("2026-03-05T14:07:10"))) << newest[0].toStdString();
    EXPECT_TRUE(newest[1].endsWith(QStringLiteral("/Backups/tiles-20260305-140710.json")));

    // The backup of the second second holds the three-page deck: restoring it brings the script back.
    EXPECT_EQ(run({QStringLiteral("restore"), newest[1]}), DeckCommands::success);
    EXPECT_EQ(m_store->pages().size(), 3u);
    EXPECT_TRUE(m_store->tile(2, 0).action);
}

TEST_F(DeckCommandsTest, DeckCommandsNeedTheRunningDeck)
{
    for (const QStringList& command :
         {QStringList{QStringLiteral("state")}, QStringList{QStringLiteral("band")},
          QStringList{QStringLiteral("summon")}, QStringList{QStringLiteral("fire"), QStringLiteral("1")},
          QStringList{QStringLiteral("edit"), QStringLiteral("on")},
          QStringList{QStringLiteral("settings")}}) {
        EXPECT_EQ(run(command), DeckCommands::failure) << command.join(u' ').toStdString();
        EXPECT_EQ(m_err, QStringLiteral("Marquetto is not running.\n"));
    }

    FakeDeck deck;
    m_deck = &deck;
    EXPECT_EQ(run({QStringLiteral("state")}), DeckCommands::success);
    EXPECT_EQ(m_out, QStringLiteral("{\"currentPage\":1}\n"));
    EXPECT_EQ(run({QStringLiteral("band")}), DeckCommands::success);
    EXPECT_EQ(m_out, QStringLiteral("{\"units\":5}\n"));
    EXPECT_EQ(run({QStringLiteral("summon")}), DeckCommands::success);
    EXPECT_EQ(deck.summons, 1);
    // Tiles are counted from 1 like their hot keys.
    EXPECT_EQ(run({QStringLiteral("fire"), QStringLiteral("2")}), DeckCommands::success);
    EXPECT_EQ(run({QStringLiteral("fire"), QStringLiteral("9")}), DeckCommands::failure);
    EXPECT_EQ(m_err, QStringLiteral("marquetto-deck: Empty tile\n"));
    EXPECT_EQ(deck.fired, (std::vector<int>{1, 8}));
    for (const QString& bad : {QStringLiteral("0"), QStringLiteral("10"), QStringLiteral("x")})
        EXPECT_EQ(run({QStringLiteral("fire"), bad}), DeckCommands::badUsage);
    EXPECT_EQ(deck.fired.size(), 2U);

    EXPECT_EQ(run({QStringLiteral("edit"), QStringLiteral("on")}), DeckCommands::success);
    EXPECT_EQ(run({QStringLiteral("edit"), QStringLiteral("off")}), DeckCommands::success);
    for (const QStringList& bad : {QStringList{}, QStringList{QStringLiteral("yes")},
                                   QStringList{QStringLiteral("on"), QStringLiteral("off")}})
        EXPECT_EQ(run(QStringList{QStringLiteral("edit")} + bad), DeckCommands::badUsage);
    EXPECT_EQ(deck.edits, (std::vector<bool>{true, false}));

    EXPECT_EQ(run({QStringLiteral("settings")}), DeckCommands::success);
    EXPECT_EQ(run({QStringLiteral("settings"), QStringLiteral("layout")}), DeckCommands::success);
    for (const QStringList& bad : {QStringList{QStringLiteral("Privacy")},
                                   QStringList{QStringLiteral("General"), QStringLiteral("Layout")}})
        EXPECT_EQ(run(QStringList{QStringLiteral("settings")} + bad), DeckCommands::badUsage);
    EXPECT_EQ(deck.settingsTabs, (QStringList{QString(), QStringLiteral("Layout")}));
}

TEST_F(DeckCommandsTest, TheDeckCarriesOutOnlyWhatItsTableGivesIt)
{
    FakeDeck deck;
    m_deck = &deck;
    const QByteArray before = readFile(m_paths.tilesFile());
    struct Case {
        QStringList arguments;
        QString message;
    };
    // Running a tile waits for a scene's end: that is the companion's work, never the deck's.
    const std::vector<Case> refused{
        {{QStringLiteral("run"), QStringLiteral("0"), QStringLiteral("0")},
         QStringLiteral("marquetto-deck: Marquetto leaves \"run\" to marquetto-deck.\n")},
        {{QStringLiteral("frobnicate"), QStringLiteral("0")},
         QStringLiteral("marquetto-deck: Marquetto has no command \"frobnicate\".\n")},
        {{}, QStringLiteral("marquetto-deck: Marquetto has no command \"\".\n")},
    };
    for (const Case& c : refused) {
        EXPECT_EQ(run(c.arguments, {}, Side::deck), DeckCommands::badUsage)
            << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(m_err, c.message);
        EXPECT_TRUE(m_out.isEmpty());
    }
    EXPECT_EQ(m_runnerAsked, 0);
    EXPECT_EQ(readFile(m_paths.tilesFile()), before);

    EXPECT_EQ(run({QStringLiteral("summon")}, {}, Side::deck), DeckCommands::success);
    EXPECT_EQ(deck.summons, 1);
}

TEST_F(DeckCommandsTest, BandSetReplacesTheModulesOrRefusesNamesThatAreNone)
{
    using enum BandModule;
    const struct {
        QString arguments;
        int status;
        QList<BandModule> modules;
    } cases[] = {
        {QStringLiteral("band set memory cpuLoad memory"), DeckCommands::success, {memory, cpuLoad}},
        {QStringLiteral("band set trash CPULOAD"), DeckCommands::badUsage, {memory, cpuLoad}},
        {QStringLiteral("band memory"), DeckCommands::badUsage, {memory, cpuLoad}},
        {QStringLiteral("band set"), DeckCommands::success, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.arguments.split(u' '), {}, Side::deck), c.status) << c.arguments.toStdString();
        EXPECT_EQ(m_settings->bandModules(), c.modules) << c.arguments.toStdString();
    }
    run({QStringLiteral("band"), QStringLiteral("set"), QStringLiteral("fax")});
    EXPECT_TRUE(m_err.startsWith(QStringLiteral("marquetto-deck: \"fax\" is no band module.")));

    // A preferences file that cannot be written is no band saved.
    const QString configDir = QFileInfo(m_paths.preferencesFile()).path();
    ASSERT_TRUE(QDir(configDir).removeRecursively());
    ASSERT_TRUE(QFile(configDir).open(QIODevice::WriteOnly));
    EXPECT_EQ(run({QStringLiteral("band"), QStringLiteral("set"), QStringLiteral("trash")}, {}, Side::deck),
              DeckCommands::failure);
    EXPECT_EQ(m_err, QStringLiteral(
                         "marquetto-deck: Couldn't save the band; the preferences on disk are unchanged.\n"));
}

TEST_F(DeckCommandsTest, ShortcutsSetsUpRemovesAndListsTheDesktopsOwn)
{
    EXPECT_EQ(run({QStringLiteral("shortcuts"), QStringLiteral("setup")}), DeckCommands::failure);
    FakeKeyboardShortcutSetup setup;
    m_shortcutSetup = &setup;
    setup.setUpReport.added = QStringList{QStringLiteral("Control-Alt-1")};
    EXPECT_EQ(run({QStringLiteral("shortcuts"), QStringLiteral("setup")}), DeckCommands::success);
    EXPECT_EQ(m_out, QStringLiteral("Keyboard shortcuts set up.\nAdded: Control-Alt-1.\n"));
    EXPECT_EQ(setup.companions, QStringList{QStringLiteral("/usr/bin/marquetto-deck")});

    setup.removeReport.failure =
        QStringLiteral("GNOME did not keep its list of custom shortcuts without ours");
    EXPECT_EQ(run({QStringLiteral("shortcuts"), QStringLiteral("remove")}), DeckCommands::failure);
    EXPECT_EQ(m_err,
              QStringLiteral("marquetto-deck: GNOME did not keep its list of custom shortcuts without ours. "
                             "Your own shortcuts are as they were.\n"));
    EXPECT_EQ(run({QStringLiteral("shortcuts"), QStringLiteral("status")}), DeckCommands::success);
    EXPECT_EQ(m_out, QStringLiteral("None of Marquetto's keyboard shortcuts are set up.\n"));
    EXPECT_EQ(run({QStringLiteral("shortcuts")}), DeckCommands::badUsage);
}
