#include "cli/DeckTool.h"

#include "model/TileCoding.h"
#include "support/ActionMachinery.h"
#include "support/DeckProcess.h"
#include "support/StoreFixture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <sys/stat.h>

class DeckToolTest : public StoreFixture {
protected:
    void SetUp() override
    {
        Tile script;
        script.label = QStringLiteral("");
        script.action = TileAction{TileAction::RunScript{QStringLiteral("echo hi > /tmp/x"), false}};
        writeFile(m_paths.tilesFile(), TileCoding::layoutBytes({{script}, {}}));
        makeStore();
    }

    int run(const QStringList& arguments, const QByteArray& input = {})
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
        return DeckTool(
                   *m_store, *m_settings, [this]() -> ActionRunner& { return m_actions->runner; }, in, out,
                   err, m_deck)
            .run(arguments);
    }

    QJsonObject printed()
    {
        EXPECT_EQ(run({QStringLiteral("print")}), DeckTool::success);
        return QJsonDocument::fromJson(m_out.toUtf8()).object();
    }

    QString m_out;
    QString m_err;
    std::unique_ptr<ActionMachinery> m_actions;
    DeckRemote* m_deck = nullptr;
};

namespace {

class FakeDeck final : public DeckRemote {
public:
    [[nodiscard]] QJsonObject state() const override { return {{QStringLiteral("currentPage"), 1}}; }
    void toggleSummon() override { ++summons; }
    bool fire(int index) override
    {
        fired.push_back(index);
        return index != 8;
    }

    int summons = 0;
    std::vector<int> fired;
};

} // namespace

TEST_F(DeckToolTest, PrintShowsTheDeckWithDerivedTexts)
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

TEST_F(DeckToolTest, SetReplacesASlotAndWritesAtOnce)
{
    const QUuid slotId = m_store->tile(1, 4).id;
    EXPECT_EQ(
        run({QStringLiteral("set"), QStringLiteral("1"), QStringLiteral("4"),
             QStringLiteral(
                 R"({"label":"Docs","icon":{"auto":{}},"action":{"openURL":{"urlString":"https://example.org"}}})")}),
        DeckTool::success);
    EXPECT_EQ(m_store->tile(1, 4).id, slotId) << "the slot keeps its id";
    EXPECT_EQ(m_store->tile(1, 4).label, QStringLiteral("Docs"));
    EXPECT_FALSE(m_store->isSavePending());
    EXPECT_TRUE(readFile(m_paths.tilesFile()).contains("Docs"));

    const QByteArray fromStdin =
        R"({"id":"0F2B5C1E-9A3D-4E6F-8B7A-1C2D3E4F5A6B","label":"","icon":{"auto":{}},"action":{"nowPlaying":{}}})";
    EXPECT_EQ(run({QStringLiteral("set"), QStringLiteral("0"), QStringLiteral("8"), QStringLiteral("-")},
                  fromStdin),
              DeckTool::success);
    EXPECT_EQ(m_store->tile(0, 8).id,
              QUuid::fromString(QStringLiteral("0F2B5C1E-9A3D-4E6F-8B7A-1C2D3E4F5A6B")));
}

TEST_F(DeckToolTest, BadInputIsRefusedAndTheDeckIsUntouched)
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
         DeckTool::failure,
         QStringLiteral(
             "marquetto-deck: Invalid tile: Invalid number of keys found, expected one. (at icon)\n")},
        {{set, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("{not json")}, DeckTool::failure, {}},
        {{set, QStringLiteral("2"), QStringLiteral("0"), QStringLiteral("{}")},
         DeckTool::failure,
         QStringLiteral("marquetto-deck: There is no slot 0 on page 2.\n")},
        {{set, QStringLiteral("zero"), QStringLiteral("0"), QStringLiteral("{}")}, DeckTool::badUsage, {}},
        {{QStringLiteral("restore"), m_paths.tilesFile() + QStringLiteral(".missing")},
         DeckTool::failure,
         QStringLiteral("marquetto-deck: Couldn't read that backup.\n")},
        {{QStringLiteral("page"), QStringLiteral("move"), QStringLiteral("0"), QStringLiteral("5")},
         DeckTool::failure,
         QStringLiteral("marquetto-deck: There is no page 5.\n")},
        {{QStringLiteral("page"), QStringLiteral("fly")}, DeckTool::badUsage, {}},
        {{QStringLiteral("frobnicate")}, DeckTool::badUsage, {}},
        {{}, DeckTool::badUsage, {}},
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

TEST_F(DeckToolTest, PageCommandsAndBackupsWorkOnTheFiles)
{
    EXPECT_EQ(run({QStringLiteral("page"), QStringLiteral("add")}), DeckTool::success);
    EXPECT_EQ(run({QStringLiteral("page"), QStringLiteral("move"), QStringLiteral("0"), QStringLiteral("2")}),
              DeckTool::success);
    ASSERT_TRUE(m_store->tile(2, 0).action);
    m_clock.advance(1);
    EXPECT_EQ(run({QStringLiteral("page"), QStringLiteral("delete"), QStringLiteral("2")}),
              DeckTool::success);
    EXPECT_EQ(m_store->pages().size(), 2u);
    EXPECT_EQ(run({QStringLiteral("page"), QStringLiteral("delete")}), DeckTool::success);
    EXPECT_EQ(run({QStringLiteral("page"), QStringLiteral("delete")}), DeckTool::failure);
    EXPECT_EQ(m_err, QStringLiteral("marquetto-deck: The deck's only page can't be deleted.\n"));

    ASSERT_EQ(run({QStringLiteral("backups")}), DeckTool::success);
    const QStringList lines = m_out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    const QStringList newest = lines.first().split(u'\t');
    ASSERT_EQ(newest.size(), 2);
    EXPECT_TRUE(newest[0].startsWith(QStringLiteral("2026-03-05T14:07:10"))) << newest[0].toStdString();
    EXPECT_TRUE(newest[1].endsWith(QStringLiteral("/Backups/tiles-20260305-140710.json")));

    // The backup of the second second holds the three-page deck: restoring it brings the script back.
    EXPECT_EQ(run({QStringLiteral("restore"), newest[1]}), DeckTool::success);
    EXPECT_EQ(m_store->pages().size(), 3u);
    EXPECT_TRUE(m_store->tile(2, 0).action);
}

TEST_F(DeckToolTest, DeckCommandsNeedTheRunningDeck)
{
    for (const QStringList& command :
         {QStringList{QStringLiteral("state")}, QStringList{QStringLiteral("summon")},
          QStringList{QStringLiteral("fire"), QStringLiteral("1")}}) {
        EXPECT_EQ(run(command), DeckTool::failure) << command.join(u' ').toStdString();
        EXPECT_EQ(m_err, QStringLiteral("Marquetto is not running.\n"));
    }

    FakeDeck deck;
    m_deck = &deck;
    EXPECT_EQ(run({QStringLiteral("state")}), DeckTool::success);
    EXPECT_EQ(m_out, QStringLiteral("{\"currentPage\":1}\n"));
    EXPECT_EQ(run({QStringLiteral("summon")}), DeckTool::success);
    EXPECT_EQ(deck.summons, 1);
    // Tiles are counted from 1 like their hot keys.
    EXPECT_EQ(run({QStringLiteral("fire"), QStringLiteral("2")}), DeckTool::success);
    EXPECT_EQ(run({QStringLiteral("fire"), QStringLiteral("9")}), DeckTool::failure);
    EXPECT_EQ(m_err, QStringLiteral("marquetto-deck: Empty tile\n"));
    EXPECT_EQ(deck.fired, (std::vector<int>{1, 8}));
    for (const QString& bad : {QStringLiteral("0"), QStringLiteral("10"), QStringLiteral("x")})
        EXPECT_EQ(run({QStringLiteral("fire"), bad}), DeckTool::badUsage);
    EXPECT_EQ(deck.fired.size(), 2U);
}

TEST(DeckToolProcess, EditsTheDeckOfItsHomeAndSaysWhyItCannot)
{
    const QTemporaryDir home;
    const DeckRun set = runDeck(
        home.path(), {QStringLiteral("set"), QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("-")},
        R"({"label":"Hi","icon":{"auto":{}},"action":{"snippet":{"text":"hello"}}})");
    EXPECT_EQ(set.status, DeckTool::success) << set.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(home.filePath(QStringLiteral(".local/share/Marquetto/tiles.json"))));

    const DeckRun print = runDeck(home.path(), {QStringLiteral("print")});
    ASSERT_EQ(print.status, DeckTool::success);
    const QJsonArray page = QJsonDocument::fromJson(print.out).object()[QStringLiteral("pages")][0].toArray();
    EXPECT_EQ(page[2].toObject()[QStringLiteral("tooltip")], QStringLiteral("Hi"));

    const DeckRun homeless = runDeck({}, {QStringLiteral("print")});
    EXPECT_EQ(homeless.status, DeckTool::failure);
    EXPECT_EQ(homeless.err, "marquetto-deck: HOME is not set.\n");

    // A home that is a file: nothing can be written, and the command says so instead of pretending.
    const QString fileHome = home.filePath(QStringLiteral("not-a-folder"));
    QFile(fileHome).open(QIODevice::WriteOnly);
    const DeckRun blocked = runDeck(fileHome, {QStringLiteral("page"), QStringLiteral("add")});
    EXPECT_EQ(blocked.status, DeckTool::failure);
    EXPECT_TRUE(blocked.err.contains("Couldn't save the deck")) << blocked.err.toStdString();
}

namespace {

Tile tileOf(TileAction action)
{
    Tile tile;
    tile.action = std::move(action);
    return tile;
}

TileAction shellScript(const QString& source)
{
    return {TileAction::RunScript{source, false}};
}

// Nanoseconds since the epoch, one per line, as `date +%s%N` writes them.
std::vector<qint64> stamps(const QByteArray& text)
{
    std::vector<qint64> values;
    for (const QByteArray& line : text.split('\n')) {
        if (!line.isEmpty())
            values.push_back(line.toLongLong());
    }
    return values;
}

} // namespace

using DeckToolRunProcess = TempHome;

TEST_F(DeckToolRunProcess, RunsScriptWebAndSceneTilesAndLeavesWhatItStartedRunning)
{
    const QString out = m_dir.filePath(QStringLiteral("out"));
    // The script waits on it until the test lets it finish.
    const QString proceed = m_dir.filePath(QStringLiteral("proceed"));
    ASSERT_EQ(::mkfifo(proceed.toLocal8Bit().constData(), 0600), 0);
    const QString times = m_dir.filePath(QStringLiteral("times"));
    const QString stamp = QStringLiteral("date +%s%N >> '%1'").arg(times);
    // A browser of the test's own, registered for web addresses in the temporary home.
    const QString opened = m_dir.filePath(QStringLiteral("opened"));
    writeFile(m_dir.filePath(QStringLiteral(".local/share/applications/test-browser.desktop")),
              QStringLiteral("[Desktop Entry]\nType=Application\nName=Test Browser\n"
                             "Exec=/bin/sh -c 'echo \"$1\" > \"%1\"' sh %u\n"
                             "MimeType=x-scheme-handler/https;\n")
                  .arg(opened)
                  .toUtf8());
    writeFile(m_dir.filePath(QStringLiteral(".config/mimeapps.list")),
              "[Default Applications]\nx-scheme-handler/https=test-browser.desktop\n");

    const Page page{
        tileOf(shellScript(
            QStringLiteral("echo started > '%1'; read go < '%2'; echo finished >> '%1'").arg(out, proceed))),
        tileOf({TileAction::OpenURL{QStringLiteral("  example.org/a?b=1\n")}}),
        tileOf({TileAction::Sequence{{shellScript(stamp), shellScript(stamp), shellScript(stamp)}}}),
        Tile{},
    };
    writeFile(m_paths.tilesFile(), TileCoding::layoutBytes({page}));

    const auto runSlot = [&](int index) {
        return runDeck(m_dir.path(), {QStringLiteral("run"), QStringLiteral("0"), QString::number(index)});
    };
    // The script's command returns while the script still runs, and the script goes on after it exited.
    const DeckRun script = runSlot(0);
    ASSERT_EQ(script.status, DeckTool::success) << script.err.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return readFile(out) == "started\n"; }, 10000));
    QFile release(proceed);
    ASSERT_TRUE(release.open(QIODevice::WriteOnly));
    release.write("go\n");
    release.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return readFile(out) == "started\nfinished\n"; }, 10000));

    const DeckRun web = runSlot(1);
    EXPECT_EQ(web.status, DeckTool::success) << web.err.toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return readFile(opened) == "https://example.org/a?b=1\n"; }, 10000))
        << readFile(opened).toStdString();

    // The scene's command returns after its last step, with a quarter second between the steps.
    const DeckRun scene = runSlot(2);
    EXPECT_EQ(scene.status, DeckTool::success) << scene.err.toStdString();
    const std::vector<qint64> stepTimes = stamps(readFile(times));
    ASSERT_EQ(stepTimes.size(), 3u);
    for (std::size_t i = 1; i < stepTimes.size(); ++i)
        EXPECT_GE(stepTimes[i] - stepTimes[i - 1], 250'000'000);

    const DeckRun empty = runSlot(3);
    EXPECT_EQ(empty.status, DeckTool::failure);
    EXPECT_EQ(empty.err, "marquetto-deck: Empty tile\n");
}
