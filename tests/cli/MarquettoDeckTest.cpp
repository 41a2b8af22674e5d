#include "commands/DeckChannel.h"
#include "commands/DeckCommands.h"
#include "model/TileCoding.h"
#include "support/DeckProcess.h"
#include "support/TempHome.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QScopeGuard>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(MarquettoDeckProcess, EditsTheDeckOfItsHomeAndSaysWhyItCannot)
{
    const QTemporaryDir home;
    const DeckRun set = runDeck(
        home.path(), {QStringLiteral("set"), QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("-")},
        R"({"label":"Hi","icon":{"auto":{}},"action":{"snippet":{"text":"hello"}}})");
    EXPECT_EQ(set.status, DeckCommands::success) << set.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(home.filePath(QStringLiteral(".local/share/Marquetto/tiles.json"))));

    const DeckRun print = runDeck(home.path(), {QStringLiteral("print")});
    ASSERT_EQ(print.status, DeckCommands::success);
    const QJsonArray page = QJsonDocument::fromJson(print.out).object()[QStringLiteral("pages")][0].toArray();
    EXPECT_EQ(page[2].toObject()[QStringLiteral("tooltip")], QStringLiteral("Hi"));

    const DeckRun homeless = runDeck({}, {QStringLiteral("print")});
    EXPECT_EQ(homeless.status, DeckCommands::failure);
    EXPECT_EQ(homeless.err, "marquetto-deck: HOME is not set.\n");

    // A home that is a file: nothing can be written, and the command says so instead of pretending.
    const QString fileHome = home.filePath(QStringLiteral("not-a-folder"));
    QFile(fileHome).open(QIODevice::WriteOnly);
    const DeckRun blocked = runDeck(fileHome, {QStringLiteral("page"), QStringLiteral("add")});
    EXPECT_EQ(blocked.status, DeckCommands::failure);
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

using MarquettoDeckRun = TempHome;

TEST_F(MarquettoDeckRun, ImportsAnImageIntoTheIconsFolderOrSaysItCouldNot)
{
    const QString picture = m_dir.filePath(QStringLiteral("logo.png"));
    QImage logo(300, 200, QImage::Format_ARGB32_Premultiplied);
    logo.fill(Qt::darkCyan);
    ASSERT_TRUE(logo.save(picture));
    const DeckRun imported =
        runDeck(m_dir.path(), {QStringLiteral("icon"), QStringLiteral("import"), picture});
    ASSERT_EQ(imported.status, DeckCommands::success) << imported.err.toStdString();
    const QString name = QString::fromUtf8(imported.out).chopped(1);
    EXPECT_TRUE(name.endsWith(u".png") && imported.out.endsWith('\n')) << imported.out.toStdString();
    EXPECT_EQ(QImage(m_paths.iconsDir() + u'/' + name).size(), QSize(300, 200));

    const DeckRun refused = runDeck(m_dir.path(), {QStringLiteral("icon"), QStringLiteral("import"),
                                                   m_dir.filePath(QStringLiteral("none.png"))});
    EXPECT_EQ(refused.status, DeckCommands::failure);
    EXPECT_TRUE(refused.err.endsWith("marquetto-deck: Couldn't import that image.\n"))
        << refused.err.toStdString();
    EXPECT_EQ(refused.out, "");
}

TEST_F(MarquettoDeckRun, RunsScriptWebAndSceneTilesAndLeavesWhatItStartedRunning)
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
    ASSERT_EQ(script.status, DeckCommands::success) << script.err.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return readFile(out) == "started\n"; }, 10000));
    QFile release(proceed);
    ASSERT_TRUE(release.open(QIODevice::WriteOnly));
    release.write("go\n");
    release.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return readFile(out) == "started\nfinished\n"; }, 10000));

    const DeckRun web = runSlot(1);
    EXPECT_EQ(web.status, DeckCommands::success) << web.err.toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return readFile(opened) == "https://example.org/a?b=1\n"; }, 10000))
        << readFile(opened).toStdString();

    // The scene's command returns after its last step, with a quarter second between the steps.
    const DeckRun scene = runSlot(2);
    EXPECT_EQ(scene.status, DeckCommands::success) << scene.err.toStdString();
    const std::vector<qint64> stepTimes = stamps(readFile(times));
    ASSERT_EQ(stepTimes.size(), 3u);
    for (std::size_t i = 1; i < stepTimes.size(); ++i)
        EXPECT_GE(stepTimes[i] - stepTimes[i - 1], 250'000'000);

    const DeckRun empty = runSlot(3);
    EXPECT_EQ(empty.status, DeckCommands::failure);
    EXPECT_EQ(empty.err, "marquetto-deck: Empty tile\n");
}

using MarquettoDeckBesideTheDeck = TempHome;

// While the deck holds its lock, the layout is the deck's alone: a command it did not answer is not carried
// out on the files behind its back, where the deck would either carry it out a second time or overwrite it.
TEST_F(MarquettoDeckBesideTheDeck, ADeckThatDoesNotAnswerIsNeverWorkedAround)
{
    writeFile(m_paths.tilesFile(), TileCoding::layoutBytes({{}}));
    const QByteArray before = readFile(m_paths.tilesFile());
    // The lock held and no channel answering: a deck that is starting, stuck, or too slow.
    QLockFile lock(DeckChannel::lockPath(m_paths));
    ASSERT_TRUE(lock.tryLock(0));
    for (const QStringList& command : {
             QStringList{
                 QStringLiteral("set"), QStringLiteral("0"), QStringLiteral("0"),
                 QStringLiteral(R"({"label":"Hi","icon":{"auto":{}},"action":{"snippet":{"text":"hi"}}})")},
             QStringList{QStringLiteral("page"), QStringLiteral("add")},
             QStringList{QStringLiteral("restore"), m_paths.tilesFile()},
             QStringList{QStringLiteral("state")},
         }) {
        const DeckRun run = runDeck(m_dir.path(), command);
        EXPECT_EQ(run.status, DeckCommands::failure) << command.join(u' ').toStdString();
        EXPECT_EQ(run.err, "Marquetto is running but did not answer.\n");
    }
    EXPECT_EQ(readFile(m_paths.tilesFile()), before);
    EXPECT_FALSE(exists(m_paths.backupsDir()));
}

TEST_F(MarquettoDeckBesideTheDeck, ALockACrashedDeckLeftBehindIsNoDeck)
{
    const QString lockPath = DeckChannel::lockPath(m_paths);
    const auto removeLock = qScopeGuard([&] { QFile::remove(lockPath); });
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    // Lock files as the deck writes them: its process id, program and host. The first names a process that
    // is gone; the second a process id the system has given to another program since.
    for (const QByteArray& lockFile :
         {"999999999\nmarquetto\n" + host + '\n',
          QByteArray::number(QCoreApplication::applicationPid()) + "\nmarquetto\n" + host + '\n'}) {
        QFile file(lockPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(lockFile);
        file.close();
        const DeckRun run = runDeck(m_dir.path(), {QStringLiteral("page"), QStringLiteral("add")});
        EXPECT_EQ(run.status, DeckCommands::success) << run.err.toStdString();
    }
    EXPECT_TRUE(exists(m_paths.tilesFile()));
}
